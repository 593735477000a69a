#include "standin/frame_renderer.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace standin {
namespace {

float number(const Call& call, std::size_t i) { return i < call.args.size() ? static_cast<float>(call.args[i].number) : 0; }

bool colour_arg(const Call& call, std::size_t i, Colour4& out) {
  if (i >= call.args.size()) return false;
  unsigned r = 0, g = 0, b = 0, a = 0;
  if (std::sscanf(call.args[i].text.c_str(), "%u,%u,%u,%u", &r, &g, &b, &a) != 4) return false;
  out = {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b),
         static_cast<std::uint8_t>(a)};
  return true;
}

bool vector_arg(const Call& call, std::size_t i, Vec3& out) {
  if (i >= call.args.size()) return false;
  return std::sscanf(call.args[i].text.c_str(), "(%f,%f,%f)", &out.x, &out.y, &out.z) == 3;
}

// The trace quotes text and escapes quotes and backslashes.
std::string text_arg(const Call& call, std::size_t i) {
  if (i >= call.args.size()) return "";
  const std::string& quoted = call.args[i].text;
  std::string out;
  for (std::size_t k = 1; k + 1 < quoted.size(); ++k) {
    if (quoted[k] == '\\' && k + 2 < quoted.size()) ++k;
    out += quoted[k];
  }
  return out;
}

std::uint8_t channel(float v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f)); }

bool visible(const FrameRenderer::Scene& scene, const Vec3& point) {
  return scene.world ? scene.world->projects(point) : point.y >= 1.0f;
}

void marker(Picture& picture, float sx, float sy) {
  const int cx = static_cast<int>(std::floor(sx)), cy = static_cast<int>(std::floor(sy));
  for (int d = -4; d <= 4; ++d)
    for (int t : {-4, -3, 3, 4}) {
      picture.set(cx + d, cy + t, FrameRenderer::object_marker);
      picture.set(cx + t, cy + d, FrameRenderer::object_marker);
    }
}

// A cross with an open middle, so that what lies on the point itself stays visible.
void aim_cross(Picture& picture, float sx, float sy) {
  const int cx = static_cast<int>(std::floor(sx)), cy = static_cast<int>(std::floor(sy));
  for (int d = 6; d <= 14; ++d)
    for (int t : {0, 1}) {
      picture.set(cx + d, cy + t, FrameRenderer::aim_marker);
      picture.set(cx - d, cy + t, FrameRenderer::aim_marker);
      picture.set(cx + t, cy + d, FrameRenderer::aim_marker);
      picture.set(cx + t, cy - d, FrameRenderer::aim_marker);
    }
}

}  // namespace

Rgb FrameRenderer::backdrop(const Scene& scene, int x, int y) {
  if (scene.map_page) {
    const bool grid = x % 64 == 0 || y % 64 == 0;
    return grid ? Rgb{44, 76, 92} : Rgb{28, 52, 66};
  }
  // Sky above the horizon (the camera looks level along +y), ground below.
  const float h = static_cast<float>(std::max(scene.height, 1));
  const float t = static_cast<float>(y) / h;
  if (2 * y < scene.height) return {channel(40 + 40 * t), channel(60 + 40 * t), channel(90 + 40 * t)};
  return {channel(62 - 40 * (t - 0.5f)), channel(66 - 40 * (t - 0.5f)), channel(54 - 40 * (t - 0.5f))};
}

int FrameRenderer::edge_width(float scale_y) { return std::max(1, static_cast<int>(std::lround(scale_y))); }

float FrameRenderer::glow_radius(float size, float depth, int width) {
  return std::max(3.0f, size * (static_cast<float>(width) / 2) / depth);
}

Picture FrameRenderer::render(const Scene& scene, const std::vector<Call>& calls) {
  Picture picture(scene.width, scene.height);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.set(x, y, backdrop(scene, x, y));
  const float w = static_cast<float>(scene.width), h = static_cast<float>(scene.height);
  if (scene.world && !scene.map_page) {
    const World& world = *scene.world;
    for (const EntityRecord* e : world.placed()) {
      const Vec3 p = position_of(*e);
      if (!world.projects(p)) continue;
      const Vec3 s = project(p, w, h);
      marker(picture, s.x, s.y);
    }
    if (world.aim != AimKind::nothing && world.projects(world.aim_point)) {
      const Vec3 s = project(world.aim_point, w, h);
      aim_cross(picture, s.x, s.y);
    }
  }
  for (const Call& call : calls) apply(scene, call, picture);
  return picture;
}

void FrameRenderer::apply(const Scene& scene, const Call& call, Picture& picture) {
  const std::string& r = call.routine;
  if (r == "HostSetTextScale") {
    text_.scale_x = number(call, 0);
    text_.scale_y = number(call, 1);
  } else if (r == "HostSetTextColour") {
    colour_arg(call, 0, text_.colour);
  } else if (r == "HostTextSetting" && call.args.size() == 2) {
    const auto setting = static_cast<std::uint32_t>(call.args[0].number);
    const float v = number(call, 1);
    switch (setting) {
      case 0x719490: text_.font = static_cast<int>(v); break;
      case 0x7194E0: text_.wrap_width = v; break;
      case 0x719510: colour_arg(call, 1, text_.edge_colour); break;
      case 0x719590: text_.edge = v != 0; break;
      case 0x7195B0: text_.proportional = v != 0; break;
      case 0x7195C0: text_.right = v != 0; break;
      case 0x719600: text_.centre = v != 0; break;
      case 0x719610: text_.box = v != 0; break;
      default: break;
    }
  } else if (r == "HostPrintText") {
    print(picture, number(call, 0), number(call, 1), text_arg(call, 2));
  } else if (r == "HostRegisterGlow" && call.args.size() >= 8) {
    Vec3 point;
    if (!vector_arg(call, 6, point) || !visible(scene, point)) return;
    const Vec3 s = project(point, static_cast<float>(scene.width), static_cast<float>(scene.height));
    const Rgb colour{channel(number(call, 2)), channel(number(call, 3)), channel(number(call, 4))};
    glow(picture, s.x, s.y, glow_radius(number(call, 7), point.y, scene.width), colour,
         std::clamp(number(call, 5), 0.0f, 255.0f) / 255.0f);
  }
}

// Brightest at the point, fading softly to nothing at the rim.
void FrameRenderer::glow(Picture& picture, float sx, float sy, float radius, Rgb colour, float alpha) {
  const int x0 = static_cast<int>(std::floor(sx - radius)), x1 = static_cast<int>(std::ceil(sx + radius));
  const int y0 = static_cast<int>(std::floor(sy - radius)), y1 = static_cast<int>(std::ceil(sy + radius));
  for (int y = std::max(y0, 0); y <= std::min(y1, picture.height() - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, picture.width() - 1); ++x) {
      const float s = std::hypot(x + 0.5f - sx, y + 0.5f - sy) / radius;
      if (s < 1) picture.blend(x, y, colour, alpha * (1 - s * s) * (1 - s * s));
    }
}

std::vector<TextLine> FrameRenderer::lay_out(const TextState& state, float x, float y, const std::string& text) {
  const float cw = cell_width * state.scale_x, ch = cell_height * state.scale_y;
  std::vector<std::string> rows;
  std::istringstream paragraphs(text);
  std::string paragraph;
  while (std::getline(paragraphs, paragraph)) {
    // Breaks at blanks so that no line passes the wrap width; a word wider than it stands alone.
    const bool wraps = state.wrap_width > 0 && cw > 0;
    if (!wraps || static_cast<float>(paragraph.size()) * cw <= state.wrap_width) {
      rows.push_back(paragraph);
      continue;
    }
    std::istringstream words(paragraph);
    std::string word, row;
    while (words >> word) {
      if (!row.empty() && static_cast<float>(row.size() + 1 + word.size()) * cw > state.wrap_width) {
        rows.push_back(row);
        row.clear();
      }
      row += (row.empty() ? "" : " ") + word;
    }
    rows.push_back(row);
  }
  std::vector<TextLine> lines;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const float width = static_cast<float>(rows[i].size()) * cw;
    const float left = state.centre ? x - width / 2 : state.right ? x - width : x;
    lines.push_back({rows[i], left, y + static_cast<float>(i) * ch, width, ch});
  }
  return lines;
}

void FrameRenderer::print(Picture& picture, float x, float y, const std::string& text) const {
  const TextState& s = text_;
  if (!(s.scale_x > 0) || !(s.scale_y > 0) || text.empty()) return;
  const std::vector<TextLine> lines = lay_out(s, x, y, text);
  const int edge = edge_width(s.scale_y);
  float left = 1e30f, top = 1e30f, right = -1e30f, bottom = -1e30f;
  for (const TextLine& l : lines) {
    left = std::min(left, l.left), top = std::min(top, l.top);
    right = std::max(right, l.left + l.width), bottom = std::max(bottom, l.top + l.height);
  }
  // Only the part on the picture is worked on.
  const float margin = static_cast<float>(edge + 2);
  const int x0 = std::max(0, static_cast<int>(std::floor(left - margin)));
  const int y0 = std::max(0, static_cast<int>(std::floor(top - margin)));
  const int x1 = std::min(picture.width(), static_cast<int>(std::ceil(right + margin)));
  const int y1 = std::min(picture.height(), static_cast<int>(std::ceil(bottom + margin)));
  if (x1 <= x0 || y1 <= y0) return;
  Coverage ink(x0, y0, x1 - x0, y1 - y0);
  const float cw = cell_width * s.scale_x, ch = cell_height * s.scale_y;
  for (const TextLine& l : lines)
    for (std::size_t k = 0; k < l.text.size(); ++k)
      glyphs_.draw(l.text[k], l.left + static_cast<float>(k) * cw, l.top, cw, ch, ink);

  const float alpha = s.colour.a / 255.0f;
  if (s.box)
    for (const TextLine& l : lines)
      picture.fill_rect(l.left - edge, l.top, l.left + l.width + edge, l.top + l.height, Rgb{0, 0, 0}, 0.5f * alpha);
  if (s.edge) {
    const Coverage rim = ink.grown(edge);
    const Rgb c{s.edge_colour.r, s.edge_colour.g, s.edge_colour.b};
    for (int py = y0; py < y1; ++py)
      for (int px = x0; px < x1; ++px) picture.blend(px, py, c, rim.at(px, py) * s.edge_colour.a / 255.0f);
  }
  const Rgb c{s.colour.r, s.colour.g, s.colour.b};
  for (int py = y0; py < y1; ++py)
    for (int px = x0; px < x1; ++px) picture.blend(px, py, c, ink.at(px, py) * alpha);
}

std::string frame_file(const std::string& dir, const std::string& session_path, int frame) {
  char number[16];
  std::snprintf(number, sizeof number, "-%03d.png", frame);
  const std::string stem = std::filesystem::path(session_path).stem().string();
  return (std::filesystem::path(dir) / (stem + number)).string();
}

}  // namespace standin
