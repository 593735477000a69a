// The map-page install over each form of instruction, and lookups by exact address.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "mapcoords/named_hook_registry.hpp"
#include "tests/unit/fake_os.hpp"

namespace {

using mapcoords::find_named_hook;
using mapcoords::named_hook_install;
using mapcoords::registry;

struct Site {
  alignas(4) std::uint8_t bytes[8] = {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC};
  alignas(4) std::uint32_t slot = 0x00654321;

  std::uint32_t at() const { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(bytes)); }
  void set(std::vector<std::uint8_t> code) {
    std::memcpy(bytes, code.data(), code.size());
    if (code.size() == 2) {
      const auto p = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&slot));
      std::memcpy(bytes + 2, &p, 4);
    }
  }
  std::uint32_t rel() const {
    std::uint32_t v;
    std::memcpy(&v, bytes + 1, 4);
    return v;
  }
};

class NamedHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_os::reset();
    registry().clear();
  }
  void TearDown() override { registry().clear(); }
};

TEST_F(NamedHooks, RecordsWhereEachFormLedAndWritesACall) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> code;
    std::int64_t previous_from_site;  // relative to the site, or -1 for the slot's routine
  };
  const Case cases[] = {
      {"CALL", {0xE8, 0x10, 0x00, 0x00, 0x00}, 0x15},
      {"JMP", {0xE9, 0xF0, 0xFF, 0xFF, 0xFF}, -0x0B},
      {"CALL [slot]", {0xFF, 0x15}, -1},
      {"JMP [slot]", {0xFF, 0x25}, -1},
  };
  for (const Case& c : cases) {
    registry().clear();
    Site site;
    site.set(c.code);
    const std::uint8_t sixth = site.bytes[5];
    const std::uint32_t replacement = site.at() + 0x1000;
    {
      named_hook_install install(site.at(), replacement, "PrintMap", false);
      const auto* hook = find_named_hook(site.at());
      ASSERT_NE(hook, nullptr) << c.what;
      const std::uint32_t want = c.previous_from_site == -1 ? site.slot
                                                            : site.at() + static_cast<std::uint32_t>(c.previous_from_site);
      EXPECT_EQ(hook->previous, want) << c.what;
      EXPECT_EQ(hook->replacement, replacement) << c.what;
      EXPECT_EQ(hook->name, "PrintMap") << c.what;
      EXPECT_FALSE(hook->pointer_slot) << c.what;
      EXPECT_EQ(site.bytes[0], 0xE8) << c.what;
      EXPECT_EQ(site.rel(), 0x1000u - 5) << c.what;
      EXPECT_EQ(site.bytes[5], sixth) << c.what;
    }
    // Unload puts the game's own instruction back.
    EXPECT_EQ(std::memcmp(site.bytes, c.code.data(), c.code.size()), 0) << c.what;
  }
}

TEST_F(NamedHooks, DecodingLeavesProtectionAloneWritingLiftsItPerWrite) {
  Site site;
  site.set({0xE8, 0, 0, 0, 0});
  named_hook_install install(site.at(), site.at() + 0x40, "PrintMap", false);
  std::vector<std::size_t> lifted;
  for (const auto& call : fake_os::state().calls)
    if (call.protection == 0x40) lifted.push_back(call.size);
  // the save of the five bytes, then the opcode and the displacement, each under its own lift
  EXPECT_EQ(lifted, (std::vector<std::size_t>{5, 1, 4}));
}

TEST_F(NamedHooks, UnknownInstructionIsLeftAloneAndNotRecorded) {
  Site site;
  site.set({0xB8, 1, 2, 3, 4});
  named_hook_install install(site.at(), site.at() + 0x40, "PrintMap", false);
  EXPECT_EQ(find_named_hook(site.at()), nullptr);
  EXPECT_EQ(site.bytes[0], 0xB8);
  EXPECT_EQ(site.rel(), 0x04030201u);
}

TEST_F(NamedHooks, SecondInstallRewritesTheCallButKeepsTheFirstRecord) {
  Site site;
  site.set({0xE8, 0x10, 0, 0, 0});
  const std::uint32_t game_routine = site.at() + 0x15;
  {
    named_hook_install first(site.at(), site.at() + 0x100, "PrintMap", false);
    {
      named_hook_install second(site.at(), site.at() + 0x200, "Other", false);
      EXPECT_EQ(site.rel(), 0x200u - 5);
      const auto* hook = find_named_hook(site.at());
      ASSERT_NE(hook, nullptr);
      EXPECT_EQ(hook->previous, game_routine);
      EXPECT_EQ(hook->name, "PrintMap");
    }
    EXPECT_EQ(site.rel(), 0x100u - 5);
  }
  EXPECT_EQ(site.rel(), 0x10u);
}

TEST_F(NamedHooks, PointerSlotModeSwapsThePointerWithoutProtection) {
  alignas(4) std::uint32_t slot = 0x00ABCDEF;
  const auto at = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&slot));
  {
    named_hook_install install(at, 0x00112233, "Slot", true);
    EXPECT_EQ(slot, 0x00112233u);
    ASSERT_NE(find_named_hook(at), nullptr);
    EXPECT_EQ(find_named_hook(at)->previous, 0x00ABCDEFu);
    EXPECT_TRUE(find_named_hook(at)->pointer_slot);
    EXPECT_TRUE(fake_os::state().calls.empty());
  }
  EXPECT_EQ(slot, 0x00ABCDEFu);
}

TEST_F(NamedHooks, LookupIsByExactAddress) {
  registry().emplace(0x1000, mapcoords::named_hook{"a", 1, 2, false});
  registry().emplace(0x2000, mapcoords::named_hook{"b", 3, 4, false});
  EXPECT_EQ(find_named_hook(0x1000)->name, "a");
  EXPECT_EQ(find_named_hook(0x2000)->name, "b");
  EXPECT_EQ(find_named_hook(0x0FFF), nullptr);
  EXPECT_EQ(find_named_hook(0x1800), nullptr);
  EXPECT_EQ(find_named_hook(0x2001), nullptr);
}

}  // namespace
