// Decoding, CALL writing, NOP fills and restorable patches against ordinary buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "hostlink/injector/hooking.hpp"
#include "tests/unit/fake_os.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Code {
  alignas(4) std::uint8_t bytes[16];
  alignas(4) std::uint32_t slot = 0;  // pointer slot for the indirect forms

  explicit Code(const Bytes& b) {
    std::memset(bytes, 0xCC, sizeof bytes);
    std::memcpy(bytes, b.data(), b.size());
  }
  std::uintptr_t at() const { return reinterpret_cast<std::uintptr_t>(bytes); }
  std::uintptr_t slot_at() const { return reinterpret_cast<std::uintptr_t>(&slot); }
  void put_u32(std::size_t offset, std::uint32_t v) { std::memcpy(bytes + offset, &v, 4); }
  std::uint32_t u32(std::size_t offset) const {
    std::uint32_t v;
    std::memcpy(&v, bytes + offset, 4);
    return v;
  }
};

class Patching : public ::testing::Test {
 protected:
  void SetUp() override { fake_os::reset(); }
};

TEST_F(Patching, DecodesEveryFormAndNothingElse) {
  struct Case {
    const char* what;
    Bytes code;
    bool indirect;
    // expected destination relative to the instruction (direct forms) or absolute (others)
    std::int64_t relative;
    std::uint32_t absolute;
  };
  const std::uint32_t routine = 0x00ABCDEF;
  const Case cases[] = {
      {"E8 0 -> next instruction", {0xE8, 0, 0, 0, 0}, false, 5, 0},
      {"E9 -5 -> itself", {0xE9, 0xFB, 0xFF, 0xFF, 0xFF}, false, 0, 0},
      {"E8 forwards", {0xE8, 0x00, 0x10, 0x00, 0x00}, false, 0x1005, 0},
      {"FF 15 -> value in the slot", {0xFF, 0x15}, true, 0, routine},
      {"FF 25 -> value in the slot", {0xFF, 0x25}, true, 0, routine},
      {"FF 35 push", {0xFF, 0x35}, true, 0, 0},
      {"NOP", {0x90, 0x90, 0x90, 0x90, 0x90}, false, -1, 0},
      {"RET", {0xC3}, false, -1, 0},
  };
  for (const Case& c : cases) {
    Code code(c.code);
    if (c.indirect) {
      code.slot = routine;
      code.put_u32(2, static_cast<std::uint32_t>(code.slot_at()));
    }
    const std::uintptr_t want =
        c.relative >= 0 && !c.indirect ? code.at() + static_cast<std::uintptr_t>(c.relative) : c.absolute;
    EXPECT_EQ(injector::read_call_target(code.at()), want) << c.what;
    EXPECT_EQ(injector::peek_call_target(code.at()), want) << c.what;
  }
}

TEST_F(Patching, RelativeTargetsWrapInThirtyTwoBits) {
  Code code({0xE8});
  // A displacement larger (as unsigned) than what is left up to 2^32: the sum wraps.
  code.put_u32(1, 0xFFFFFFFFu - static_cast<std::uint32_t>(code.at()));
  EXPECT_EQ(injector::read_call_target(code.at()), static_cast<std::uint32_t>(4));
}

TEST_F(Patching, EveryDecodeReadLiftsAndRestoresProtection) {
  Code code({0xFF, 0x15});
  code.put_u32(2, static_cast<std::uint32_t>(code.slot_at()));
  injector::read_call_target(code.at());
  const auto& calls = fake_os::state().calls;
  // opcode, modrm, slot address: three lifts, each put back; the slot itself is read plainly.
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].size, 1u);
  EXPECT_EQ(calls[2].size, 1u);
  EXPECT_EQ(calls[4].size, 4u);
  for (std::size_t i = 0; i < calls.size(); i += 2) {
    EXPECT_EQ(calls[i].protection, 0x40u);
    EXPECT_EQ(calls[i + 1].protection, 0x20u);
  }
  fake_os::reset();
  injector::peek_call_target(code.at());
  EXPECT_TRUE(fake_os::state().calls.empty());
}

TEST_F(Patching, FailedLiftStillAccessesButRestoresNothing) {
  fake_os::state().fail_lifts = true;
  Code code({0x90, 0x90, 0x90, 0x90, 0x90});
  injector::make_call(code.at(), code.at() + 0x100);
  EXPECT_EQ(code.bytes[0], 0xE8);
  for (const auto& call : fake_os::state().calls) EXPECT_EQ(call.protection, 0x40u);
}

TEST_F(Patching, MakeCallReturnsPreviousDestinationAndWritesFiveBytes) {
  struct Case {
    const char* what;
    Bytes code;
    bool indirect;
    bool decodable;
  };
  const Case cases[] = {
      {"over a CALL", {0xE8, 0x10, 0, 0, 0}, false, true},
      {"over a JMP", {0xE9, 0x10, 0, 0, 0}, false, true},
      {"over five NOPs", {0x90, 0x90, 0x90, 0x90, 0x90, 0x90}, false, false},
      {"over FF 15, sixth byte kept", {0xFF, 0x15}, true, true},
  };
  for (const Case& c : cases) {
    Code code(c.code);
    const std::uint32_t routine = 0x00123456;
    if (c.indirect) {
      code.slot = routine;
      code.put_u32(2, static_cast<std::uint32_t>(code.slot_at()));
    }
    const std::uint8_t sixth = code.bytes[5];
    const std::uintptr_t before = injector::read_call_target(code.at());
    const std::uintptr_t target = code.at() + 0x4321;
    EXPECT_EQ(injector::make_call(code.at(), target), before) << c.what;
    if (!c.decodable) {
      EXPECT_EQ(before, 0u) << c.what;
    }
    if (c.indirect) {
      EXPECT_EQ(before, routine) << c.what;
    }
    EXPECT_EQ(code.bytes[0], 0xE8) << c.what;
    EXPECT_EQ(code.u32(1), static_cast<std::uint32_t>(target - (code.at() + 5))) << c.what;
    EXPECT_EQ(code.bytes[5], sixth) << c.what;
  }
}

TEST_F(Patching, MakeNopTouchesExactlyTheGivenBytes) {
  Code code({1, 2, 3, 4});
  injector::make_nop(code.at() + 1, 2);
  EXPECT_EQ(Bytes(code.bytes, code.bytes + 4), (Bytes{1, 0x90, 0x90, 4}));
  ASSERT_EQ(fake_os::state().calls.size(), 2u);
  EXPECT_EQ(fake_os::state().calls[0].size, 2u);
}

TEST_F(Patching, CopiesUseProtectionOnlyWhenAskedAndNotForZeroBytes) {
  std::uint8_t host[4] = {1, 2, 3, 4}, buffer[4] = {};
  const auto at = reinterpret_cast<std::uintptr_t>(host);
  injector::copy_from_host(buffer, at, 4, false);
  injector::copy_into_host(at, buffer, 4, false);
  injector::copy_from_host(buffer, at, 0, true);
  EXPECT_TRUE(fake_os::state().calls.empty());
  injector::copy_from_host(buffer, at, 4, true);
  EXPECT_EQ(fake_os::state().calls.size(), 2u);
  EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{1, 2, 3, 4}));
}

TEST_F(Patching, ScopedPatchSavesRestoresOnceAndSwitchesLocations) {
  Code first({1, 2, 3, 4, 5}), second({6, 7, 8, 9, 10});
  {
    injector::scoped_basic<5> patch;
    ASSERT_TRUE(patch.save(first.at(), 5, true));
    std::memset(first.bytes, 0, 5);
    // A second save first writes the first location back.
    ASSERT_TRUE(patch.save(second.at(), 5, true));
    EXPECT_EQ(Bytes(first.bytes, first.bytes + 5), (Bytes{1, 2, 3, 4, 5}));
    std::memset(second.bytes, 0, 5);
    patch.restore();
    EXPECT_EQ(Bytes(second.bytes, second.bytes + 5), (Bytes{6, 7, 8, 9, 10}));
    std::memset(second.bytes, 0xAA, 5);
    patch.restore();  // nothing saved any more
    EXPECT_EQ(second.bytes[0], 0xAA);
    ASSERT_TRUE(patch.save(second.at(), 5, false));
    std::memset(second.bytes, 0, 5);
  }  // destruction writes back
  EXPECT_EQ(Bytes(second.bytes, second.bytes + 5), (Bytes(5, 0xAA)));
}

TEST_F(Patching, SaveOfZeroBytesAndOversizedSave) {
  Code code({1, 2, 3, 4, 5, 6, 7});
  injector::scoped_basic<5> patch;
  ASSERT_TRUE(patch.save(code.at(), 0, true));
  EXPECT_TRUE(patch.saved());
  EXPECT_TRUE(fake_os::state().calls.empty());
  patch.restore();
  EXPECT_FALSE(patch.saved());

  // Above five bytes the save is refused: nothing is read, the buffer is never overrun.
  ASSERT_TRUE(patch.save(code.at(), 5, false));
  EXPECT_FALSE(patch.save(code.at(), 6, false));
  EXPECT_TRUE(patch.saved());
  EXPECT_EQ(patch.size(), 5u);
}

TEST_F(Patching, ScopedCallKeepsTheSiteAndPutsItBack) {
  Code code({0xE8, 0x10, 0, 0, 0, 0x77});
  const std::uintptr_t old_target = code.at() + 0x15;
  {
    injector::scoped_call call;
    EXPECT_EQ(call.make_call(code.at(), code.at() + 0x999), old_target);
    EXPECT_EQ(code.u32(1), 0x999u - 5);
  }
  EXPECT_EQ(Bytes(code.bytes, code.bytes + 6), (Bytes{0xE8, 0x10, 0, 0, 0, 0x77}));
}

}  // namespace
