#pragma once
// An opaque RGB picture of the game screen, painted by blending, written as PNG.
#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// Source-over: `over` with opacity a (0..1) on top of `under`.
Rgb mix(Rgb over, Rgb under, float a);

class Picture {
 public:
  Picture(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const;
  void set(int x, int y, Rgb c);
  void blend(int x, int y, Rgb c, float a);  // outside the picture: nothing
  void fill_rect(float left, float top, float right, float bottom, Rgb c, float a);
  bool write_png(const std::string& path) const;

 private:
  int width_, height_;
  std::vector<std::uint8_t> rgb_;
};

}  // namespace standin
