#include "file_writers.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace veltrane::content {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void WriteBmp(const std::string& path, const Image& img) {
  const std::uint32_t w = static_cast<std::uint32_t>(img.Width());
  const std::uint32_t h = static_cast<std::uint32_t>(img.Height());
  const std::uint32_t stride = (w * 3 + 3) & ~3u;
  const std::uint32_t data_size = stride * h;
  std::vector<std::uint8_t> out;
  out.reserve(54 + data_size);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + data_size);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, w);
  Put32(out, h);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, data_size);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  const std::vector<std::uint8_t> rgb = img.ToBytes();
  for (std::uint32_t row = 0; row < h; ++row) {
    const std::uint32_t y = h - 1 - row;
    for (std::uint32_t x = 0; x < w; ++x) {
      const size_t i = (static_cast<size_t>(y) * w + x) * 3;
      out.push_back(rgb[i + 2]);
      out.push_back(rgb[i + 1]);
      out.push_back(rgb[i]);
    }
    for (std::uint32_t pad = w * 3; pad < stride; ++pad) out.push_back(0);
  }
  WriteBytes(path, out);
}

void WriteJpeg(const std::string& path, const Image& img, int quality) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) throw std::runtime_error("cannot write " + path);
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file.get());
  cinfo.image_width = static_cast<JDIMENSION>(img.Width());
  cinfo.image_height = static_cast<JDIMENSION>(img.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> rgb = img.ToBytes();
  const size_t stride = static_cast<size_t>(img.Width()) * 3;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = rgb.data() + cinfo.next_scanline * stride;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  if (std::ferror(file.get())) throw std::runtime_error("cannot write " + path);
}

void WriteWav(const std::string& path, const std::vector<double>& samples, int sample_rate) {
  const std::uint32_t data_size = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44 + data_size);
  for (char c : {'R', 'I', 'F', 'F'}) out.push_back(static_cast<std::uint8_t>(c));
  Put32(out, 36 + data_size);
  for (char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '})
    out.push_back(static_cast<std::uint8_t>(c));
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, static_cast<std::uint32_t>(sample_rate));
  Put32(out, static_cast<std::uint32_t>(sample_rate) * 2);
  Put16(out, 2);
  Put16(out, 16);
  for (char c : {'d', 'a', 't', 'a'}) out.push_back(static_cast<std::uint8_t>(c));
  Put32(out, data_size);
  for (double s : samples) {
    const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
    Put16(out,
          static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
  }
  WriteBytes(path, out);
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void MakeDirs(const std::string& path) { std::filesystem::create_directories(path); }

int GeneratorMain(int argc, char** argv,
                  const std::function<void(const std::string& outDir)>& write) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argc > 0 ? argv[0] : "generator");
    return 2;
  }
  try {
    write(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace veltrane::content
