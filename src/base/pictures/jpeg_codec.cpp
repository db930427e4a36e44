#include "base/pictures/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "base/pictures/file_bytes.h"

namespace veltrane::pictures {
namespace {

// libjpeg reports errors through a callback that must not return; it jumps back to the
// decoder's setjmp point. Everything the decoder owns lives on the heap behind one pointer,
// so no automatic object changes between setjmp and longjmp.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr c) {
  auto* e = reinterpret_cast<ErrorManager*>(c->err);
  (*c->err->format_message)(c, e->message);
  std::longjmp(e->jump, 1);
}

void OnMessage(j_common_ptr c, int level) {
  // A stream that ends early would otherwise decode "successfully" with grey filler.
  if (level < 0 && c->err->msg_code == JWRN_JPEG_EOF) OnError(c);
}

void InstallErrors(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  err.message[0] = 0;
}

constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

struct Decoder {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  Picture picture;
  std::vector<std::uint8_t> row;
  std::string sizeError;
};

struct Encoder {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  unsigned char* buffer;
  unsigned long size;
};

}  // namespace

Picture DecodeJpeg(std::span<const std::uint8_t> data) {
  auto d = std::make_unique<Decoder>();
  jpeg_decompress_struct& cinfo = d->cinfo;
  cinfo.err = &d->err.pub;
  InstallErrors(d->err);
  if (setjmp(d->err.jump)) {
    const std::string msg = d->err.message;
    jpeg_destroy_decompress(&cinfo);
    throw PictureError("JPEG: " + msg);
  }
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);

  try {
    CheckPictureSize(cinfo.image_width, cinfo.image_height);
  } catch (const PictureError& e) {
    d->sizeError = e.what();
  }
  if (!d->sizeError.empty()) {
    jpeg_destroy_decompress(&cinfo);
    throw PictureError("JPEG: " + d->sizeError);
  }

  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  jpeg_start_decompress(&cinfo);

  Picture& p = d->picture;
  p.width = static_cast<int>(cinfo.output_width);
  p.height = static_cast<int>(cinfo.output_height);
  p.pixels.resize(static_cast<std::size_t>(p.width) * p.height * 4);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW dst = p.At(0, static_cast<int>(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &dst, 1);
  }
  if (cmyk) {
    // Decoded CMYK comes inverted (as Adobe writes it): the ink is 255 - value.
    for (std::size_t i = 0; i < p.pixels.size(); i += 4) {
      const unsigned k = p.pixels[i + 3];
      for (int c = 0; c < 3; ++c)
        p.pixels[i + c] = static_cast<std::uint8_t>(p.pixels[i + c] * k / 255);
      p.pixels[i + 3] = 255;
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return std::move(d->picture);
}

Picture ReadJpeg(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  try {
    return DecodeJpeg(bytes);
  } catch (const PictureError& e) {
    throw PictureError(std::string(e.what()) + " in \"" + path + "\"");
  }
}

std::vector<std::uint8_t> EncodeJpeg(const Picture& picture, int quality) {
  CheckPictureSize(picture.width, picture.height);
  if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height * 4)
    throw PictureError("JPEG: pixel buffer does not match the picture size");
  auto e = std::make_unique<Encoder>();
  jpeg_compress_struct& cinfo = e->cinfo;
  cinfo.err = &e->err.pub;
  InstallErrors(e->err);
  if (setjmp(e->err.jump)) {
    const std::string msg = e->err.message;
    jpeg_destroy_compress(&cinfo);
    std::free(e->buffer);
    throw PictureError("JPEG: " + msg);
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &e->buffer, &e->size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_RGBA;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality < 1 ? 1 : (quality > 100 ? 100 : quality), TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // libjpeg takes non-const rows but does not write to them.
    JSAMPROW row = const_cast<JSAMPROW>(picture.At(0, static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(e->buffer, e->buffer + e->size);
  jpeg_destroy_compress(&cinfo);
  std::free(e->buffer);
  return out;
}

void WriteJpeg(const std::string& path, const Picture& picture, int quality) {
  WriteFileBytes(path, EncodeJpeg(picture, quality));
}

}  // namespace veltrane::pictures
