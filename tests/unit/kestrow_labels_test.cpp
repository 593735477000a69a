// Labels, the cheat-word switch and the log lines, with the game's routines from the stand-in.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

#include "kestrow/labels.hpp"
#include "kestrow/log_lines.hpp"
#include "kestrow/state.hpp"
#include "kestrow/toggle.hpp"
#include "standin/game.hpp"
#include "standin/os_keys.hpp"

namespace {

using standin::Call;

class Overlay : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(game.start(error)) << error;
    kestrow::enabled = kestrow::leftClickLatch = kestrow::middleClickLatch = false;
  }
  std::vector<Call> calls() { return game.trace.take(); }
  const Call* find(const std::vector<Call>& cs, const std::string& routine, const std::string& first_arg = "") {
    for (const Call& c : cs)
      if (c.routine == routine && (first_arg.empty() || c.args[0].text == first_arg)) return &c;
    return nullptr;
  }
  float arg(const Call* c, std::size_t i) { return static_cast<float>(c->args.at(i).number); }
  standin::Game game;
};

TEST_F(Overlay, LabelMakesTheStyleCallsInOrder) {
  kestrow::drawLabel("1234", 320.0f, 224.0f, 1.0f, 1.0f);
  std::vector<std::string> lines;
  for (const Call& c : calls()) lines.push_back(c.line());
  const std::vector<std::string> want = {
      "HostSetTextScale 1.12 1.12",
      "HostTextSetting 0x719490 1",
      "HostTextSetting 0x7195B0 1",
      "HostTextSetting 0x719600 1",
      "HostTextSetting 0x719610 0",
      "HostTextSetting 0x719590 1",
      "HostTextSetting 0x719510 0,0,0,255",
      "HostTextSetting 0x7195C0 0",
      "HostSetTextColour 255,255,255,255",
      "HostTextSetting 0x7194E0 640",
      "HostPrintText 320 224 \"1234\"",
  };
  EXPECT_EQ(lines, want);
}

TEST_F(Overlay, LabelSizeAndFadeFollowTheFactors) {
  struct Case {
    float fx, fy;
    bool drawn;
    int alpha;          // 4th colour byte
    float width_as;     // the factor the x scale corresponds to
    float height_as;    // the factor the y scale corresponds to
  };
  const float below = std::nextafter(0.01f, 0.0f);
  const Case cases[] = {
      {below, 1.0f, false, 0, 0, 0},
      {0.01f, 1.0f, true, 25, 0.1f, 1.0f},
      {0.05f, 1.0f, true, 127, 0.1f, 1.0f},
      {129.0f / 2550.0f + 1e-6f, 1.0f, true, 129, 0.1f, 1.0f},
      {0.1f, 0.1f, true, 255, 0.1f, 0.2f},
      {2.0f, -3.0f, true, 255, 2.0f, 0.2f},
      {1.0f, 0.0f, true, 255, 1.0f, 0.2f},
  };
  for (const Case& c : cases) {
    kestrow::drawLabel("7", 10.0f, 20.0f, c.fx, c.fy);
    const auto cs = calls();
    if (!c.drawn) {
      EXPECT_TRUE(cs.empty()) << c.fx;
      continue;
    }
    ASSERT_EQ(cs.size(), c.alpha > 128 ? 11u : 10u) << c.fx;
    // On 640 x 448 the scales are 1.12 per unit of factor.
    EXPECT_NEAR(arg(&cs[0], 0), 1.12f * c.width_as, 1e-6) << c.fx;
    EXPECT_NEAR(arg(&cs[0], 1), 1.12f * c.height_as, 1e-6) << c.fx;
    const Call* colour = find(cs, "HostSetTextColour");
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->args[0].text, "255,255,255," + std::to_string(c.alpha)) << c.fx;
    const Call* edge = find(cs, "HostTextSetting", "0x719590");
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->args[1].text, c.alpha > 128 ? "1" : "0") << c.fx;
  }
}

TEST_F(Overlay, ScaleFollowsScreenHeight) {
  game.set_screen(1920, 1080);
  kestrow::drawLabel("7", 0, 0, 1.0f, 1.0f);
  const auto cs = calls();
  ASSERT_FALSE(cs.empty());
  EXPECT_NEAR(arg(&cs[0], 0), 2.7f, 1e-5);
  EXPECT_NEAR(arg(&cs[0], 1), 2.7f, 1e-5);
}

TEST_F(Overlay, ProjectedPixelIsWhereTheTextLands) {
  game.set_screen(1366, 768);
  const kestrow::VirtualPoint p = kestrow::toVirtualScreen(901.5f, 133.25f, 91.0f, 40.0f);
  EXPECT_FLOAT_EQ(p.fx, 91.0f / 1366.0f * 15.0f);
  EXPECT_FLOAT_EQ(p.fy, 40.0f / 768.0f * 15.0f);
  kestrow::drawLabel("7", p.vx, p.vy, p.fx, p.fy);
  const auto cs = calls();
  const Call* print = find(cs, "HostPrintText");
  ASSERT_NE(print, nullptr);
  EXPECT_NEAR(arg(print, 0), 901.5f, 1e-3);
  EXPECT_NEAR(arg(print, 1), 133.25f, 1e-3);
}

TEST_F(Overlay, NothingUnusableReachesTheGame) {
  const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
  const float points[][4] = {{nan, 1, 1, 1}, {1, inf, 1, 1}, {1, 1, nan, 1}, {1, 1, 1, -inf}, {1, 1, 3e38f, 1}};
  for (const auto& p : points) {
    kestrow::drawLabel("7", p[0], p[1], p[2], p[3]);
    EXPECT_TRUE(calls().empty()) << p[0] << " " << p[1] << " " << p[2] << " " << p[3];
  }
  for (auto size : {std::pair<int, int>{0, 448}, {640, 0}, {-640, 448}}) {
    game.set_screen(size.first, size.second);
    kestrow::drawLabel("7", 1, 1, 1, 1);
    EXPECT_TRUE(calls().empty()) << size.first << "x" << size.second;
  }
}

TEST_F(Overlay, CheatWordTogglesInAnyCaseOncePerTyping) {
  std::ostringstream unused;
  for (const char* word : {"MODELSINFO", "modelsinfo", "ModelsInfo"}) {
    const bool before = kestrow::enabled;
    kestrow::leftClickLatch = kestrow::middleClickLatch = true;
    game.type(word);
    kestrow::checkToggle();
    EXPECT_NE(kestrow::enabled, before) << word;
    EXPECT_FALSE(kestrow::leftClickLatch || kestrow::middleClickLatch) << word;
    EXPECT_EQ(reinterpret_cast<const char*>(0x969110)[0], 0) << word;
    kestrow::checkToggle();  // the other nine keys are still there, but the word is broken
    EXPECT_NE(kestrow::enabled, before) << word;
  }
}

TEST_F(Overlay, ShortOrDifferentTextNeverToggles) {
  for (const char* text : {"ODELSINFO", "MODELSINF", "MODELSINFX", "XMODELSINF"}) {
    std::memset(reinterpret_cast<void*>(0x969110), 0, 30);
    game.type(text);
    kestrow::checkToggle();
    EXPECT_FALSE(kestrow::enabled) << text;
  }
  // Typed before other keys: the newest key no longer ends the word.
  game.type("MODELSINFOx");
  kestrow::checkToggle();
  EXPECT_FALSE(kestrow::enabled);
}

TEST_F(Overlay, LatchesClearOnlyWhileTheirButtonIsUp) {
  kestrow::leftClickLatch = kestrow::middleClickLatch = true;
  game.set_button(standin::vk_lbutton, true);
  game.set_button(standin::vk_mbutton, true);
  kestrow::resetLatches();
  EXPECT_TRUE(kestrow::leftClickLatch && kestrow::middleClickLatch);
  // Released after an odd number of presses: only the toggle bit (bit 0) is set.
  game.set_button(standin::vk_lbutton, false);
  ASSERT_EQ(game.key_state(standin::vk_lbutton), 1);
  kestrow::resetLatches();
  EXPECT_FALSE(kestrow::leftClickLatch);
  EXPECT_TRUE(kestrow::middleClickLatch);
}

TEST(LogLines, NumbersInTheStreamsDefaultFormat) {
  struct Case {
    host::HostVector position;
    std::uint16_t model;
    const char* line;
  };
  const Case cases[] = {
      {{2488.5078f, -1665.0938f, 13.546875f}, 65535, "Click: ID 65535 coord 2488.51 -1665.09 13.5469\n"},
      {{100.0f, 1234567.0f, 0.00001f}, 0, "Click: ID 0 coord 100 1.23457e+06 1e-05\n"},
  };
  for (const Case& c : cases) {
    host::HostEntity entity{};
    entity.placement = c.position;
    entity.modelIndex = c.model;
    std::ostringstream log;
    kestrow::writeClickLine(log, entity);
    EXPECT_EQ(log.str(), c.line);
  }
  // With a matrix, the matrix position counts.
  host::HostMatrix matrix{};
  matrix.position = {1.5f, 2.0f, -3.25f};
  host::HostEntity entity{};
  entity.matrix = &matrix;
  entity.modelIndex = 42;
  std::ostringstream log;
  kestrow::writeLogAllStart(log);
  kestrow::writeLogAllObject(log, entity);
  kestrow::writeLogAllEnd(log);
  kestrow::writeToggleLine(log, true);
  kestrow::writeToggleLine(log, false);
  EXPECT_EQ(log.str(),
            "--------- Start Logging all ---------\nID 42 coord 1.5 2 -3.25\n"
            "--------- End Logging all ---------\nEnabled: 1\nEnabled: 0\n");
}

}  // namespace
