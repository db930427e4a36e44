#include "base/pictures/png_codec.h"

#include <png.h>

#include <cstring>
#include <memory>

#include "base/pictures/file_bytes.h"

namespace veltrane::pictures {
namespace {

// libpng leaves its functions by longjmp on error. Whatever the coders own lives behind one
// heap pointer, so no automatic object changes between setjmp and longjmp.
struct WriteState {
  png_structp png;
  png_infop info;
  std::vector<std::uint8_t> out;
  std::string message;
};

struct ReadState {
  png_structp png;
  png_infop info;
  std::span<const std::uint8_t> data;
  std::size_t pos;
  Picture picture;
  std::vector<png_bytep> rows;
  std::string message;
};

void OnWriteError(png_structp png, png_const_charp msg) {
  static_cast<WriteState*>(png_get_error_ptr(png))->message = msg;
  png_longjmp(png, 1);
}
void OnReadError(png_structp png, png_const_charp msg) {
  static_cast<ReadState*>(png_get_error_ptr(png))->message = msg;
  png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* s = static_cast<WriteState*>(png_get_io_ptr(png));
  s->out.insert(s->out.end(), data, data + length);
}
void FlushNothing(png_structp) {}

void ReadFromSpan(png_structp png, png_bytep data, png_size_t length) {
  auto* s = static_cast<ReadState*>(png_get_io_ptr(png));
  if (s->data.size() - s->pos < length) png_error(png, "truncated data");
  std::memcpy(data, s->data.data() + s->pos, length);
  s->pos += length;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Picture& picture) {
  CheckPictureSize(picture.width, picture.height);
  if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height * 4)
    throw PictureError("PNG: pixel buffer does not match the picture size");
  auto s = std::make_unique<WriteState>();
  s->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, s.get(), OnWriteError, OnWarning);
  if (!s->png) throw PictureError("PNG: cannot create the encoder");
  s->info = png_create_info_struct(s->png);
  if (!s->info) {
    png_destroy_write_struct(&s->png, nullptr);
    throw PictureError("PNG: cannot create the encoder");
  }
  if (setjmp(png_jmpbuf(s->png))) {
    png_destroy_write_struct(&s->png, &s->info);
    throw PictureError("PNG: " + s->message);
  }
  png_set_write_fn(s->png, s.get(), WriteToVector, FlushNothing);
  png_set_IHDR(s->png, s->info, static_cast<png_uint_32>(picture.width),
               static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s->png, s->info);
  for (int y = 0; y < picture.height; ++y) png_write_row(s->png, picture.At(0, y));
  png_write_end(s->png, nullptr);
  png_destroy_write_struct(&s->png, &s->info);
  return std::move(s->out);
}

void WritePng(const std::string& path, const Picture& picture) {
  WriteFileBytes(path, EncodePng(picture));
}

namespace {

// The decoder allocates a chunk's announced length before it reads the chunk;
// a length beyond the end of the file would cost memory the file never fills.
void CheckChunkLengths(std::span<const std::uint8_t> data) {
  std::size_t at = 8;
  while (at + 8 <= data.size()) {
    const std::uint64_t length = static_cast<std::uint64_t>(data[at]) << 24 | data[at + 1] << 16 |
                                 data[at + 2] << 8 | data[at + 3];
    if (length + 12 > data.size() - at)
      throw PictureError("PNG: a chunk runs past the end of the file");
    if (std::memcmp(data.data() + at + 4, "IEND", 4) == 0) return;
    at += static_cast<std::size_t>(length) + 12;
  }
}

}  // namespace

Picture DecodePng(std::span<const std::uint8_t> data) {
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
    throw PictureError("PNG: not a PNG file");
  CheckChunkLengths(data);
  auto s = std::make_unique<ReadState>();
  s->data = data;
  s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, s.get(), OnReadError, OnWarning);
  if (!s->png) throw PictureError("PNG: cannot create the decoder");
  s->info = png_create_info_struct(s->png);
  if (!s->info) {
    png_destroy_read_struct(&s->png, nullptr, nullptr);
    throw PictureError("PNG: cannot create the decoder");
  }
  if (setjmp(png_jmpbuf(s->png))) {
    png_destroy_read_struct(&s->png, &s->info, nullptr);
    throw PictureError("PNG: " + s->message);
  }
  png_set_read_fn(s->png, s.get(), ReadFromSpan);
  png_set_user_limits(s->png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(s->png, 8 * 1024 * 1024);  // text and profiles; never pixels
  png_read_info(s->png, s->info);
  const auto width = png_get_image_width(s->png, s->info);
  const auto height = png_get_image_height(s->png, s->info);
  if (static_cast<std::int64_t>(width) * height > kMaxPicturePixels)
    png_error(s->png, "picture is too large");

  const int type = png_get_color_type(s->png, s->info);
  png_set_expand(s->png);
  png_set_strip_16(s->png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(s->png);
  if (!(type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(s->png, s->info, PNG_INFO_tRNS))
    png_set_add_alpha(s->png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(s->png);
  png_read_update_info(s->png, s->info);
  if (png_get_rowbytes(s->png, s->info) != static_cast<png_size_t>(width) * 4)
    png_error(s->png, "unexpected pixel layout");

  Picture& p = s->picture;
  p.width = static_cast<int>(width);
  p.height = static_cast<int>(height);
  p.pixels.resize(static_cast<std::size_t>(width) * height * 4);
  s->rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) s->rows[y] = p.At(0, static_cast<int>(y));
  png_read_image(s->png, s->rows.data());
  png_read_end(s->png, nullptr);
  png_destroy_read_struct(&s->png, &s->info, nullptr);
  return std::move(s->picture);
}

Picture ReadPng(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  try {
    return DecodePng(bytes);
  } catch (const PictureError& e) {
    throw PictureError(std::string(e.what()) + " in \"" + path + "\"");
  }
}

}  // namespace veltrane::pictures
