// The readout's text and its game calls, with the game's routines supplied by the stand-in.
#include <gtest/gtest.h>

#include <cstring>

#include "mapcoords/map_readout.hpp"
#include "mapcoords/named_hook_registry.hpp"
#include "standin/game.hpp"

namespace {

TEST(MapReadoutText, FormatsAndCutsAsTheGameShowsIt) {
  struct Case {
    float x, y;
    const char* text;
  };
  const Case cases[] = {
      {-1234.4f, 567.6f, "X: -1234  Y:   568"},
      {7.0f, 12.0f, "X:     7  Y:    12"},
      {123456.0f, -98765.4f, "X: 123456  Y: -98765"},
      {-1234.0f, -12345.0f, "X: -1234  Y: -12345"},
      {0.0f, -0.4f, "X:     0  Y:    -0"},
      {1e30f, -1e30f, "X: 1000000015047466219876688855040  Y: -10000000"},
  };
  for (const Case& c : cases) {
    char text[50];
    std::memset(text, 'z', sizeof text);
    mapcoords::format_readout(text, c.x, c.y);
    EXPECT_STREQ(text, c.text);
    EXPECT_LE(std::strlen(text), 48u);
    for (std::size_t i = std::strlen(text); i < sizeof text; ++i) EXPECT_EQ(text[i], 0);
  }
}

class MapReadout : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(game.start(error)) << error;
    mapcoords::registry().clear();
  }
  void TearDown() override { mapcoords::registry().clear(); }
  standin::Game game;
};

TEST_F(MapReadout, WithoutARecordCallsNothingReturnsZeroAndStillDraws) {
  game.menu.map_x = 7;
  game.menu.map_y = 12;
  const std::uint8_t result = mapcoords::map_readout(reinterpret_cast<host::HostMenu*>(&game.menu));
  EXPECT_EQ(result, 0);
  const auto calls = game.trace.take();
  ASSERT_EQ(calls.size(), 9u);
  EXPECT_EQ(calls.front().line(), "HostTextSetting 0x719610 1");
  EXPECT_EQ(calls.back().routine, "HostPrintText");
  EXPECT_EQ(calls.back().args[2].text, "\"X:     7  Y:    12\"");
}

TEST_F(MapReadout, ExactArgumentsInSinglePrecision) {
  game.set_screen(1920, 1080);
  mapcoords::registry().emplace(0x57BA28, mapcoords::named_hook{"PrintMap", 0, 0, false});
  mapcoords::map_readout(reinterpret_cast<host::HostMenu*>(&game.menu));
  const auto calls = game.trace.take();
  ASSERT_EQ(calls.size(), 9u);  // a record whose previous is 0 calls nothing either
  EXPECT_EQ(static_cast<float>(calls[3].args[1].number), 0.6f);
  EXPECT_EQ(static_cast<float>(calls[4].args[1].number), 0.49f);
  // x scale first, y scale second
  EXPECT_EQ(static_cast<float>(calls[5].args[0].number), 0.49f * 1920 / 640);
  EXPECT_EQ(static_cast<float>(calls[5].args[1].number), 0.6f * 1080 / 448);
  EXPECT_EQ(static_cast<float>(calls[7].args[1].number), 395.0f);
  EXPECT_EQ(static_cast<float>(calls[8].args[0].number), 1920.0f / 11.0f);
}

}  // namespace
