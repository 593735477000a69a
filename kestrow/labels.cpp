#include "kestrow/labels.hpp"

#include <cmath>

#include "hostlink/host/game.hpp"

namespace kestrow {
namespace {

constexpr float virtualWidth = 640.0f;
constexpr float virtualHeight = 448.0f;
constexpr float sizeFactorScale = 15.0f;
constexpr float smallestFactor = 0.01f;  // below this nothing is drawn
constexpr float fadeFactor = 0.1f;       // below this the label fades and stops narrowing
constexpr float fadeSlope = 10.0f;
constexpr float leastHeightFactor = 0.2f;
constexpr float textScale = 1.2f;
constexpr float aspectReference = 1.3333334f;     // 4/3
constexpr float heightDivisor = 1.0714285f;       // 15/14
constexpr float pixelsPerVirtualX = 0.0015625f;   // 1/640
constexpr float pixelsPerVirtualY = 0.0022321429f;  // 1/448
constexpr float alphaScale = 255.0f;

bool finite(float v) { return std::isfinite(v); }

}  // namespace

VirtualPoint toVirtualScreen(float sx, float sy, float hx, float hy) {
  const float w = static_cast<float>(host::HostScreenWidth());
  const float h = static_cast<float>(host::HostScreenHeight());
  return {(sx / w) * virtualWidth, (sy / h) * virtualHeight, (hx / w) * sizeFactorScale,
          (hy / h) * sizeFactorScale};
}

void drawLabel(std::string text, float vx, float vy, float fx, float fy) {
  const std::int32_t width = host::HostScreenWidth();
  const std::int32_t height = host::HostScreenHeight();
  if (width <= 0 || height <= 0) return;
  if (!finite(vx) || !finite(vy) || !finite(fx) || !finite(fy)) return;
  if (smallestFactor > fx) return;

  float alpha = 1.0f;
  if (fadeFactor > fx) {
    alpha = fx * fadeSlope;
    fx = fadeFactor;
  }
  if (leastHeightFactor > fy) fy = leastHeightFactor;

  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const float kx = w * pixelsPerVirtualX;
  const float ky = h * pixelsPerVirtualY;
  const float aspect = w / (h * aspectReference);
  const float xs = ((fx * textScale) / aspect) * kx;
  const float ys = ((fy * textScale) / heightDivisor) * ky;
  const float x = kx * vx;
  const float y = ky * vy;
  if (!finite(xs) || !finite(ys) || !finite(x) || !finite(y)) return;
  const auto a = static_cast<std::uint8_t>(static_cast<std::int32_t>(alpha * alphaScale));

  host::HostSetTextScale(xs, ys);
  host::HostTextSetting_719490(1);
  host::HostTextSetting_7195B0(1);
  host::HostTextSetting_719600(1);
  host::HostTextSetting_719610(0);
  if (a > 128) {
    host::HostTextSetting_719590(1);
    host::HostTextSetting_719510({0, 0, 0, a});
  } else {
    host::HostTextSetting_719590(0);
  }
  host::HostTextSetting_7195C0(0);
  host::HostSetTextColour({255, 255, 255, a});
  host::HostTextSetting_7194E0(kx * virtualWidth);
  host::HostPrintText(x, y, text.c_str());
}

}  // namespace kestrow
