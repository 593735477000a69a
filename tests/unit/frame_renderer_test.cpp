// The stand-in's pictures of frames: where text, glows and markers land, in which colour, and
// that nothing else changes. Every check is a quantity of the renderer's model, not an image.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "standin/frame_files.hpp"
#include "standin/frame_renderer.hpp"
#include "standin/game.hpp"
#include "standin/plugins.hpp"
#include "standin/session.hpp"

namespace {

using standin::Call;
using standin::FrameRenderer;
using standin::Picture;
using standin::Rgb;

Call call(const char* routine, std::vector<standin::Arg> args) { return {routine, std::move(args)}; }
Call setting(std::uint32_t address, std::int64_t v) { return call("HostTextSetting", {standin::arg_hex(address), standin::arg_int(v)}); }

struct Style {
  float xs = 1, ys = 1;
  int alpha = 255;
  bool edge = false;
  bool centre = false, right = false, box = false;
  float wrap = 640;
};

// The calls a label makes: the overlay's order of settings, then the print.
std::vector<Call> label(const std::string& text, float x, float y, const Style& s) {
  char colour[32], edge_colour[32];
  std::snprintf(colour, sizeof colour, "255,255,255,%d", s.alpha);
  std::snprintf(edge_colour, sizeof edge_colour, "0,0,0,%d", s.alpha);
  std::vector<Call> calls{call("HostSetTextScale", {standin::arg_float(s.xs), standin::arg_float(s.ys)}),
                          setting(0x719490, 1), setting(0x7195B0, 1), setting(0x719600, s.centre),
                          setting(0x719610, s.box), setting(0x719590, s.edge)};
  if (s.edge) calls.push_back(call("HostTextSetting", {standin::arg_hex(0x719510), standin::arg_name(edge_colour)}));
  calls.push_back(setting(0x7195C0, s.right));
  calls.push_back(call("HostSetTextColour", {standin::arg_name(colour)}));
  calls.push_back(call("HostTextSetting", {standin::arg_hex(0x7194E0), standin::arg_float(s.wrap)}));
  calls.push_back(call("HostPrintText", {standin::arg_float(x), standin::arg_float(y), standin::arg_text(text.c_str())}));
  return calls;
}

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right and bottom inclusive
  bool empty() const { return right < left; }
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
  float centre_x() const { return (left + right + 1) / 2.0f; }
};

// The pixels in which two pictures differ.
Box changed(const Picture& a, const Picture& b) {
  Box box;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.at(x, y) != b.at(x, y)) {
        box.left = std::min(box.left, x), box.right = std::max(box.right, x);
        box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
      }
  return box;
}

int luminance(Rgb c) { return c.r + c.g + c.b; }

void expect_near(Rgb got, Rgb want, int tolerance, const std::string& what) {
  EXPECT_LE(std::abs(got.r - want.r), tolerance) << what;
  EXPECT_LE(std::abs(got.g - want.g), tolerance) << what;
  EXPECT_LE(std::abs(got.b - want.b), tolerance) << what;
}

// Each case runs with the font file and with the built-in characters it falls back to.
class Frames : public ::testing::TestWithParam<bool> {
 protected:
  Frames() : glyphs(GetParam() ? standin::default_font_file() : "") {}

  void SetUp() override {
    if (GetParam()) {
      ASSERT_TRUE(glyphs.has_font()) << glyphs.error() << " (scripts/setup installs it)";
    }
  }

  Picture render(const std::vector<Call>& calls, const standin::World* world = nullptr) {
    FrameRenderer renderer(glyphs);
    return renderer.render(scene(world), calls);
  }

  FrameRenderer::Scene scene(const standin::World* world) {
    FrameRenderer::Scene s;
    s.width = 640, s.height = 448, s.world = world;
    return s;
  }

  standin::Glyphs glyphs;
};

TEST_P(Frames, LabelLandsInItsColourAndAlphaWithTheEdgeOnlyWhenOn) {
  const Picture empty = render({});
  struct Case {
    Style style;
    const char* what;
  } cases[] = {
      {{1.5f, 1.5f, 255, true, true}, "opaque, edge, centred"},
      {{1.5f, 1.5f, 100, false, true}, "faded, no edge"},
      {{1.0f, 2.0f, 200, true, false}, "tall, edge, left"},
      {{2.0f, 1.0f, 255, false, false, true}, "wide, no edge, right"},
  };
  for (const Case& c : cases) {
    const float x = 320, y = 200;
    const Picture picture = render(label("8080", x, y, c.style));
    standin::TextState state;
    state.scale_x = c.style.xs, state.scale_y = c.style.ys;
    state.centre = c.style.centre, state.right = c.style.right;
    const standin::TextLine line = FrameRenderer::lay_out(state, x, y, "8080").at(0);
    const int edge = FrameRenderer::edge_width(c.style.ys);
    const Box ink = changed(picture, empty);
    ASSERT_FALSE(ink.empty()) << c.what;
    // Inside the model's box (grown by the edge), and filling most of it.
    EXPECT_GE(ink.left, std::floor(line.left) - edge - 1) << c.what;
    EXPECT_LE(ink.right, std::ceil(line.left + line.width) + edge) << c.what;
    EXPECT_GE(ink.top, std::floor(line.top) - edge - 1) << c.what;
    EXPECT_LE(ink.bottom, std::ceil(line.top + line.height) + edge) << c.what;
    EXPECT_GE(ink.width(), 0.6f * line.width) << c.what;
    EXPECT_GE(ink.height(), 0.5f * line.height) << c.what;

    const float a = c.style.alpha / 255.0f;
    Rgb brightest{}, darkest{255, 255, 255};
    Rgb under_brightest{}, under_darkest{};
    bool darker_than_backdrop = false;
    for (int py = ink.top; py <= ink.bottom; ++py)
      for (int px = ink.left; px <= ink.right; ++px) {
        const Rgb p = picture.at(px, py), b = empty.at(px, py);
        if (luminance(p) - luminance(b) > luminance(brightest) - luminance(under_brightest)) brightest = p, under_brightest = b;
        if (luminance(p) < luminance(b)) darker_than_backdrop = true;
        if (luminance(b) - luminance(p) > luminance(under_darkest) - luminance(darkest)) darkest = p, under_darkest = b;
      }
    // The text lies over its own edge.
    const Rgb under_text = c.style.edge ? standin::mix(Rgb{0, 0, 0}, under_brightest, a) : under_brightest;
    expect_near(brightest, standin::mix(Rgb{255, 255, 255}, under_text, a), 3, std::string(c.what) + ": text");
    EXPECT_EQ(darker_than_backdrop, c.style.edge) << c.what;
    if (c.style.edge) expect_near(darkest, standin::mix(Rgb{0, 0, 0}, under_darkest, a), 3, std::string(c.what) + ": edge");
  }
}

TEST_P(Frames, LabelBoxGrowsWithEachScaleSeparately) {
  const Picture empty = render({});
  Style base;
  base.centre = true;
  const Box one = changed(render(label("4711", 320, 100, base)), empty);
  ASSERT_FALSE(one.empty());
  const struct {
    float xs, ys;
  } scales[] = {{2, 1}, {1, 2}, {2.5f, 2.5f}, {0.5f, 1}};
  for (const auto& s : scales) {
    Style style = base;
    style.xs = s.xs, style.ys = s.ys;
    const Box box = changed(render(label("4711", 320, 100, style)), empty);
    ASSERT_FALSE(box.empty());
    const std::string what = "scale " + std::to_string(s.xs) + " x " + std::to_string(s.ys);
    // The edge is one pixel here; the glyphs scale with their cells.
    EXPECT_NEAR(static_cast<float>(box.width()) / one.width(), s.xs, 0.15f * s.xs + 0.1f) << what;
    EXPECT_NEAR(static_cast<float>(box.height()) / one.height(), s.ys, 0.15f * s.ys + 0.1f) << what;
    // Centred whatever the width, up to the characters' own side bearings.
    EXPECT_NEAR(box.centre_x(), 320, 2.0f + 0.25f * FrameRenderer::cell_width * s.xs) << what;
    EXPECT_GE(box.top, 100 - 1) << what;                // hangs from the print y
  }
}

TEST_P(Frames, NothingDrawnWhereNothingWasDrawn) {
  const Picture empty = render({});
  // Settings without a print, a print at scale 0, an empty text and text off the screen.
  std::vector<Call> calls = label("", 100, 100, Style{});
  const std::vector<Call> zero = label("123", 100, 100, Style{0, 1});
  const std::vector<Call> away = label("123", 5000, -300, Style{});
  calls.insert(calls.end(), zero.begin(), zero.end());
  calls.insert(calls.end(), away.begin(), away.end());
  calls.push_back(call("HostSetTextScale", {standin::arg_float(3), standin::arg_float(3)}));
  EXPECT_TRUE(changed(render(calls), empty).empty());

  // A label changes its box and nothing outside it.
  Style style;
  style.edge = true;
  const Picture one = render(label("99", 500, 300, style));
  const Box ink = changed(one, empty);
  EXPECT_FALSE(ink.empty());
  EXPECT_GE(ink.left, 500 - 2);
  EXPECT_LE(ink.right, 500 + 2 * FrameRenderer::cell_width + 2);
  EXPECT_GE(ink.top, 300 - 2);
  EXPECT_LE(ink.bottom, 300 + FrameRenderer::cell_height + 2);
}

TEST_P(Frames, WrapWidthBreaksAtBlanksAndTheBoxSettingBacksEachLine) {
  const Picture empty = render({});
  Style narrow;
  narrow.wrap = 5 * FrameRenderer::cell_width;  // "11 22" fits, "11 22 33" does not
  const Box wrapped = changed(render(label("11 22 33", 100, 50, narrow)), empty);
  const Box one_line = changed(render(label("11 22 33", 100, 50, Style{})), empty);
  EXPECT_GT(wrapped.height(), 1.5f * FrameRenderer::cell_height);
  EXPECT_LT(one_line.height(), 1.1f * FrameRenderer::cell_height);
  EXPECT_LT(wrapped.width(), 5 * FrameRenderer::cell_width);
  EXPECT_GT(one_line.width(), 7 * FrameRenderer::cell_width);

  Style boxed;
  boxed.box = true;
  const Picture picture = render(label("1", 100, 50, boxed));
  // The cell's corner holds no ink, only the half-dark box.
  expect_near(picture.at(101, 51), standin::mix(Rgb{0, 0, 0}, empty.at(101, 51), 0.5f), 2, "box");
}

TEST_P(Frames, GlowIsASoftDiscInItsColourAtItsProjectedPoint) {
  standin::World world;
  const Picture empty = render({}, &world);
  auto glow = [](float x, float y, float z, int alpha) {
    std::ostringstream point;
    point << "(" << x << "," << y << "," << z << ")";
    return call("HostRegisterGlow",
                {standin::arg_int(7380), standin::arg_name("null"), standin::arg_int(255), standin::arg_int(100),
                 standin::arg_int(50), standin::arg_int(alpha), standin::arg_name(point.str()), standin::arg_float(1),
                 standin::arg_float(500)});
  };
  // (2, 10, 1) lands at 320 + 0.2 * 320 = 384, 224 - 0.1 * 224 = 201.6; radius 1 * 320 / 10 = 32.
  const float sx = 384, sy = 201.6f, radius = FrameRenderer::glow_radius(1, 10, 640);
  EXPECT_FLOAT_EQ(radius, 32);
  for (int alpha : {255, 128}) {
    const Picture picture = render({glow(2, 10, 1, alpha)}, &world);
    const int cx = static_cast<int>(sx), cy = static_cast<int>(sy);
    expect_near(picture.at(cx, cy), standin::mix(Rgb{255, 100, 50}, empty.at(cx, cy), alpha / 255.0f), 4,
                "centre, alpha " + std::to_string(alpha));
    // Softer halfway out, gone at the rim.
    const Rgb half = picture.at(cx + 16, cy);
    EXPECT_LT(half.r, picture.at(cx, cy).r);
    EXPECT_GT(half.r, empty.at(cx + 16, cy).r);
    const Box disc = changed(picture, empty);
    EXPECT_GE(disc.left, sx - radius - 1);
    EXPECT_LE(disc.right, sx + radius + 1);
    EXPECT_GE(disc.top, sy - radius - 1);
    EXPECT_LE(disc.bottom, sy + radius + 1);
  }
  // Behind the camera, or where the session says nothing projects: no glow.
  world.offscreen_points.push_back(standin::Vec3{2, 10, 1});
  EXPECT_TRUE(changed(render({glow(2, 10, 1, 255), glow(0, 0.5f, 0, 255)}, &world), empty).empty());
}

TEST_P(Frames, ObjectsAndTheAimAreMarkedWhereTheyProject) {
  standin::World world;
  const Picture nothing = render({}, &world);
  world.place("near", 411, standin::Vec3{-5, 10, 0}, nullptr);  // 160, 224
  const standin::Vec3 matrix{5, 20, 2};
  world.place("far", 700, standin::Vec3{99, 99, 99}, &matrix);  // by its matrix: 400, 201.6
  world.place("hidden", 1, standin::Vec3{0, 30, 0}, nullptr);
  world.offscreen_entities.push_back("hidden");
  world.place("behind", 2, standin::Vec3{0, -3, 0}, nullptr);
  const Picture placed = render({}, &world);
  EXPECT_EQ(placed.at(160 + 4, 224), FrameRenderer::object_marker);
  EXPECT_EQ(placed.at(400 - 4, 201), FrameRenderer::object_marker);
  const Box marks = changed(placed, nothing);
  EXPECT_EQ(marks.left, 160 - 4);
  EXPECT_EQ(marks.right, 400 + 4);
  EXPECT_EQ(marks.top, 201 - 4);
  EXPECT_EQ(marks.bottom, 224 + 4);

  world.aim = standin::AimKind::hit_without_entity;
  world.aim_point = standin::Vec3{0, 8, -4};  // 320, 336
  const Picture aimed = render({}, &world);
  EXPECT_EQ(aimed.at(320 + 10, 336), FrameRenderer::aim_marker);
  EXPECT_EQ(aimed.at(320, 336 - 10), FrameRenderer::aim_marker);
  EXPECT_EQ(aimed.at(320, 336), placed.at(320, 336));  // the point itself stays clear

  // The map page shows no world.
  FrameRenderer renderer(glyphs);
  FrameRenderer::Scene map = scene(&world);
  map.map_page = true;
  EXPECT_EQ(renderer.render(map, {}).at(164, 224), FrameRenderer::backdrop(map, 164, 224));
}

INSTANTIATE_TEST_SUITE_P(FontAndBuiltIn, Frames, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Font" : "BuiltIn"; });

// The frames a session hands over, and the pictures written of them.
TEST(FrameCalls, EachFrameAndMapCommandIsOneFrameWrittenAsAPicture) {
  standin::Game game;
  std::string error;
  ASSERT_TRUE(game.start(error)) << error;
  standin::Plugins plugins(".");
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "standin_frames_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  standin::Glyphs glyphs(standin::default_font_file());
  std::vector<std::string> seen;
  std::vector<std::string> files;
  standin::SessionOptions options;
  options.echo = false;
  options.on_frame = [&](const standin::FrameCalls& frame) {
    std::string routines;
    for (const Call& c : frame.calls) routines += " " + c.routine;
    seen.push_back(std::to_string(frame.number) + (frame.map_page ? " map:" : " frame:") + routines);
    FrameRenderer renderer(glyphs);
    const std::string file = standin::frame_file(dir.string(), frame.session, frame.number);
    ASSERT_TRUE(renderer.render(standin::scene_of(frame.game, frame.map_page), frame.calls).write_png(file));
    files.push_back(file);
  };
  const std::string text =
      "screen 320 200\nentity a 1 0 10 0\nframe\nsite 0x53C077\nmenu 1 2\nmap\nrecord off\nframe\n";
  std::ostringstream out;
  ASSERT_EQ(standin::play_session_text(text, (dir / "s.session").string(), game, plugins, options, out), 0) << out.str();
  EXPECT_EQ(seen, (std::vector<std::string>{"1 frame: GameRoutine GameDrawEntity GameRoutine", "2 map: GameMapPage",
                                            "3 frame:"}));
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(std::filesystem::path(files[1]).filename(), "s-002.png");
  // The file is a PNG of the screen's size with the object's marker in it.
  int w = 0, h = 0, n = 0;
  unsigned char* pixels = stbi_load(files[0].c_str(), &w, &h, &n, 3);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 200);
  const unsigned char* marker = pixels + (100 * 320 + 160 + 4) * 3;
  EXPECT_EQ((Rgb{marker[0], marker[1], marker[2]}), FrameRenderer::object_marker);
  stbi_image_free(pixels);
  std::filesystem::remove_all(dir);
}

}  // namespace
