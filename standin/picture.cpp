#include "standin/picture.hpp"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>

namespace standin {

Rgb mix(Rgb over, Rgb under, float a) {
  a = std::clamp(a, 0.0f, 1.0f);
  auto channel = [a](std::uint8_t o, std::uint8_t u) {
    return static_cast<std::uint8_t>(std::lround(o * a + u * (1.0f - a)));
  };
  return {channel(over.r, under.r), channel(over.g, under.g), channel(over.b, under.b)};
}

Picture::Picture(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      rgb_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3) {}

Rgb Picture::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const std::uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
  return {p[0], p[1], p[2]};
}

void Picture::set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * width_ + x) * 3];
  p[0] = c.r, p[1] = c.g, p[2] = c.b;
}

void Picture::blend(int x, int y, Rgb c, float a) {
  if (a <= 0 || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  set(x, y, mix(c, at(x, y), a));
}

// Pixels whose centre lies inside the rectangle.
void Picture::fill_rect(float left, float top, float right, float bottom, Rgb c, float a) {
  const int x0 = std::max(0, static_cast<int>(std::ceil(left - 0.5f)));
  const int x1 = std::min(width_, static_cast<int>(std::ceil(right - 0.5f)));
  const int y0 = std::max(0, static_cast<int>(std::ceil(top - 0.5f)));
  const int y1 = std::min(height_, static_cast<int>(std::ceil(bottom - 0.5f)));
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) blend(x, y, c, a);
}

bool Picture::write_png(const std::string& path) const {
  return stbi_write_png(path.c_str(), width_, height_, 3, rgb_.data(), width_ * 3) != 0;
}

}  // namespace standin
