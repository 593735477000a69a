#include "standin/glyphs.hpp"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include <stb_easy_font.h>
#include <stb_truetype.h>

#ifndef STANDIN_FONT_FILE
#define STANDIN_FONT_FILE "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"
#endif

namespace standin {

const char* default_font_file() { return STANDIN_FONT_FILE; }

Coverage::Coverage(int l, int t, int w, int h)
    : left(l), top(t), width(std::max(w, 0)), height(std::max(h, 0)),
      values(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0.0f) {}

float Coverage::at(int x, int y) const {
  x -= left, y -= top;
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return values[static_cast<std::size_t>(y) * width + x];
}

void Coverage::add(int x, int y, float v) {
  x -= left, y -= top;
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  float& slot = values[static_cast<std::size_t>(y) * width + x];
  slot = std::max(slot, std::min(v, 1.0f));
}

Coverage Coverage::grown(int radius) const {
  Coverage across(left, top, width, height), out(left, top, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float m = 0;
      for (int k = std::max(0, x - radius); k <= std::min(width - 1, x + radius); ++k)
        m = std::max(m, values[static_cast<std::size_t>(y) * width + k]);
      across.values[static_cast<std::size_t>(y) * width + x] = m;
    }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float m = 0;
      for (int k = std::max(0, y - radius); k <= std::min(height - 1, y + radius); ++k)
        m = std::max(m, across.values[static_cast<std::size_t>(k) * width + x]);
      out.values[static_cast<std::size_t>(y) * width + x] = m;
    }
  return out;
}

struct Glyphs::Font {
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
  int ascent = 0, descent = 0, advance = 0;
};

Glyphs::Glyphs(const std::string& font_file) {
  if (font_file.empty()) {
    error_ = "no font file given";
    return;
  }
  std::ifstream in(font_file, std::ios::binary);
  if (!in) {
    error_ = "cannot read " + font_file;
    return;
  }
  std::unique_ptr<Font> font(new Font);
  font->data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  const int offset = stbtt_GetFontOffsetForIndex(font->data.data(), 0);
  if (font->data.empty() || offset < 0 || !stbtt_InitFont(&font->info, font->data.data(), offset)) {
    error_ = font_file + " is not a TrueType font";
    return;
  }
  int line_gap = 0, lsb = 0;
  stbtt_GetFontVMetrics(&font->info, &font->ascent, &font->descent, &line_gap);
  stbtt_GetCodepointHMetrics(&font->info, 'M', &font->advance, &lsb);
  if (font->ascent - font->descent <= 0 || font->advance <= 0) {
    error_ = font_file + " has no usable metrics";
    return;
  }
  font_ = std::move(font);
}

Glyphs::~Glyphs() = default;

void Glyphs::draw(char c, float left, float top, float w, float h, Coverage& into) const {
  if (w <= 0 || h <= 0 || c == ' ') return;
  if (!font_) return draw_builtin(c, left, top, w, h, into);
  const Font& f = *font_;
  // The cell spans the font's ascent to descent and one advance: a monospaced font fills it.
  const float sx = w / static_cast<float>(f.advance);
  const float sy = h / static_cast<float>(f.ascent - f.descent);
  const float baseline = top + static_cast<float>(f.ascent) * sy;
  const int ox = static_cast<int>(std::floor(left)), oy = static_cast<int>(std::floor(baseline));
  const float shift_x = left - static_cast<float>(ox), shift_y = baseline - static_cast<float>(oy);
  const int codepoint = static_cast<unsigned char>(c);
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetCodepointBitmapBoxSubpixel(&f.info, codepoint, sx, sy, shift_x, shift_y, &x0, &y0, &x1, &y1);
  const int bw = x1 - x0, bh = y1 - y0;
  if (bw <= 0 || bh <= 0) return;
  std::vector<unsigned char> bitmap(static_cast<std::size_t>(bw) * static_cast<std::size_t>(bh));
  stbtt_MakeCodepointBitmapSubpixel(&f.info, bitmap.data(), bw, bh, bw, sx, sy, shift_x, shift_y, codepoint);
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x)
      if (const unsigned char v = bitmap[static_cast<std::size_t>(y) * bw + x])
        into.add(ox + x0 + x, oy + y0 + y, v / 255.0f);
}

// stb_easy_font draws in a 6 x 12 unit cell out of axis-aligned quads; each quad covers the
// pixels it overlaps by the overlapped area.
void Glyphs::draw_builtin(char c, float left, float top, float w, float h, Coverage& into) const {
  if (c < 33 || c > 126) c = '?';
  char text[2] = {c, 0};
  float quads[64 * 4 * 4];  // 16-byte vertices, four per quad
  const int n = stb_easy_font_print(0, 0, text, nullptr, quads, sizeof quads);
  const float units_x = w / 6.0f, units_y = h / 12.0f;
  // The advance includes one unit of spacing after the character's ink.
  const float centring = (7.0f - static_cast<float>(stb_easy_font_width(text))) / 2.0f;
  for (int q = 0; q < n; ++q) {
    const float* v = &quads[q * 16];
    const float qx0 = left + (v[0] + centring) * units_x, qy0 = top + v[1] * units_y;
    const float qx1 = left + (v[8] + centring) * units_x, qy1 = top + v[9] * units_y;
    for (int y = static_cast<int>(std::floor(qy0)); y < static_cast<int>(std::ceil(qy1)); ++y)
      for (int x = static_cast<int>(std::floor(qx0)); x < static_cast<int>(std::ceil(qx1)); ++x) {
        const float ax = std::min(qx1, x + 1.0f) - std::max(qx0, static_cast<float>(x));
        const float ay = std::min(qy1, y + 1.0f) - std::max(qy0, static_cast<float>(y));
        if (ax > 0 && ay > 0) into.add(x, y, into.at(x, y) + ax * ay);
      }
  }
}

}  // namespace standin
