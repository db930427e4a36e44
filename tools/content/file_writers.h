#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image.h"

namespace veltrane::content {

// Every writer throws std::runtime_error with the file name when the file cannot be written.

// Uncompressed 24-bit Windows bitmap, bottom-up rows as the format stores them.
void WriteBmp(const std::string& path, const Image& img);

// Baseline JPEG through libjpeg with the exact integer DCT, so the bytes do not depend
// on the machine's SIMD extensions.
void WriteJpeg(const std::string& path, const Image& img, int quality = 90);

// 16-bit mono PCM WAV; samples in [-1, 1] are clamped and rounded.
void WriteWav(const std::string& path, const std::vector<double>& samples, int sample_rate);

void WriteText(const std::string& path, const std::string& text);

// Creates the folder and its parents when missing.
void MakeDirs(const std::string& path);

// The main of every generator: one argument, the output folder, handed to write.
// Wrong usage gives exit code 2, a failure its message and exit code 1.
int GeneratorMain(int argc, char** argv,
                  const std::function<void(const std::string& outDir)>& write);

}  // namespace veltrane::content
