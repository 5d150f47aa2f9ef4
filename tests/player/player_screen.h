#pragma once
// What the X server shows a user of the desktop `Player`, read back whole, and a user's
// clicks on it (xdotool, Debian package xdotool).

#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace korvane::player::testing {

struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;

  // The part of this rectangle inside `other`.
  ScreenRect Within(const ScreenRect& other) const {
    ScreenRect part;
    part.left = std::max(left, other.left);
    part.top = std::max(top, other.top);
    part.width = std::max(0, std::min(left + width, other.left + other.width) - part.left);
    part.height = std::max(0, std::min(top + height, other.top + other.height) - part.top);
    return part;
  }
};

inline std::ostream& operator<<(std::ostream& os, const ScreenRect& r) {
  return os << "[" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "]";
}

class Screen {
 public:
  Screen() : pixels_(gdk_pixbuf_get_from_window(gdk_get_default_root_window(), 0, 0, Width(), Height())) {}
  // Only the rectangle's part, as a screen of its size.
  explicit Screen(const ScreenRect& r)
      : pixels_(gdk_pixbuf_get_from_window(gdk_get_default_root_window(), r.left, r.top, r.width, r.height)) {}
  ~Screen() {
    if (pixels_ != nullptr) g_object_unref(pixels_);
  }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  static int Width() { return gdk_window_get_width(gdk_get_default_root_window()); }
  static int Height() { return gdk_window_get_height(gdk_get_default_root_window()); }

  // 0xRRGGBB.
  guint32 At(int x, int y) const {
    const guchar* pixel = gdk_pixbuf_get_pixels(pixels_) + y * gdk_pixbuf_get_rowstride(pixels_) +
                          x * gdk_pixbuf_get_n_channels(pixels_);
    return pixel[0] << 16 | pixel[1] << 8 | pixel[2];
  }
  // Whether the screen holds `picture` at the rectangle's corner, where `seen` (the part
  // of it on screen) lies; its transparent pixels show what lies behind, and are not
  // compared.
  // `tolerance`: how far each channel may lie from the picture's (JPEG decoders round
  // differently).
  bool Shows(const ScreenRect& r, const ScreenRect& seen, GdkPixbuf* picture, int tolerance = 0) const {
    const int channels = gdk_pixbuf_get_n_channels(picture);
    for (int y = seen.top - r.top; y < std::min(seen.top + seen.height - r.top, gdk_pixbuf_get_height(picture)); ++y) {
      for (int x = seen.left - r.left; x < std::min(seen.left + seen.width - r.left, gdk_pixbuf_get_width(picture)); ++x) {
        const guchar* pixel = gdk_pixbuf_get_pixels(picture) + y * gdk_pixbuf_get_rowstride(picture) + x * channels;
        if (channels == 4 && pixel[3] == 0) continue;
        const guint32 shown = At(r.left + x, r.top + y);
        for (int channel = 0; channel < 3; ++channel) {
          if (std::abs(int(shown >> (16 - 8 * channel) & 0xFF) - int(pixel[channel])) > tolerance) return false;
        }
      }
    }
    return true;
  }
  bool AnyNotBlack(const ScreenRect& r) const {
    for (int y = r.top; y < r.top + r.height; ++y) {
      for (int x = r.left; x < r.left + r.width; ++x) {
        if (At(x, y) != 0) return true;
      }
    }
    return false;
  }
  // Whether both screens hold the same pixels in the rectangle.
  bool SameAs(const Screen& other, const ScreenRect& r) const {
    for (int y = r.top; y < r.top + r.height; ++y) {
      for (int x = r.left; x < r.left + r.width; ++x) {
        if (At(x, y) != other.At(x, y)) return false;
      }
    }
    return true;
  }
  // Whether (nearly) every pixel is black: 99% of them darker than 24 in each channel.
  bool NearlyBlack() const {
    const int width = gdk_pixbuf_get_width(pixels_), height = gdk_pixbuf_get_height(pixels_);
    long dark = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const guint32 pixel = At(x, y);
        if ((pixel >> 16 & 0xFF) < 24 && (pixel >> 8 & 0xFF) < 24 && (pixel & 0xFF) < 24) ++dark;
      }
    }
    return dark * 100 >= long(width) * height * 99;
  }
  void Save(const ScreenRect& r, const std::filesystem::path& file) const {
    GdkPixbuf* part = gdk_pixbuf_new_subpixbuf(pixels_, r.left, r.top, r.width, r.height);
    EXPECT_TRUE(gdk_pixbuf_save(part, file.c_str(), "png", nullptr, nullptr)) << file;
    g_object_unref(part);
  }

 private:
  GdkPixbuf* pixels_;
};

// What a shell command writes on its standard output.
inline std::string Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string output;
  char buffer[256];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  return output;
}

// A user's left click in the middle of the rectangle, the mouse then taken off the window
// so that no hover picture stays.
inline void ClickOnScreen(const ScreenRect& control) {
  const std::string command = "xdotool mousemove --sync " + std::to_string(control.left + control.width / 2) + " " +
                              std::to_string(control.top + control.height / 2) + " click 1 mousemove --sync 0 0";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace korvane::player::testing
