#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/ui/picture.h"

namespace korvane::platform::ui {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
};

// libjpeg reports a fault by calling error_exit, which must not return.
[[noreturn]] void EscapeOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void Silence(j_common_ptr) {}

constexpr JDIMENSION kLargestSide = 16384;

}  // namespace

std::optional<Picture> DecodeJpeg(std::string_view bytes) {
  // Everything with a destructor lives outside the setjmp region.
  Picture picture;
  std::vector<JSAMPLE> row;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = EscapeOnError;
  errors.base.output_message = Silence;
  if (setjmp(errors.escape) != 0) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width > kLargestSide ||
      info.image_height > kLargestSide) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  picture.width = static_cast<int>(info.output_width);
  picture.height = static_cast<int>(info.output_height);
  picture.rgba.resize(std::size_t{info.output_width} * info.output_height * 4);
  row.resize(std::size_t{info.output_width} * 3);
  while (info.output_scanline < info.output_height) {
    const std::size_t y = info.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
    for (std::size_t x = 0; x < info.output_width; ++x) {
      std::uint8_t* out = &picture.rgba[(y * info.output_width + x) * 4];
      out[0] = row[x * 3];
      out[1] = row[x * 3 + 1];
      out[2] = row[x * 3 + 2];
      out[3] = 255;
    }
  }
  const bool complete = info.output_scanline == info.output_height;
  if (complete) jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  if (!complete || errors.base.num_warnings > 0) return std::nullopt;
  return picture;
}

}  // namespace korvane::platform::ui
