// Build identification and rebasing against a recording platform layer. The executable's module
// base is placed at a mapped area, so every probe reads ordinary memory at a rebased address.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstring>
#include <vector>

#include "hostlink/plugin/host_version.hpp"
#include "tests/unit/fake_os.hpp"

namespace {

constexpr std::uint32_t span = 0x460000;  // 0x400000 .. past the last probe at 0x858D51

// The fake game executable; the first module_base() call caches its address for the process.
std::uint32_t fake_base() {
  static const std::uint32_t base = [] {
    void* area = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(area));
  }();
  return base;
}

constexpr std::uint32_t probe_addresses[] = {0x401000, 0x401000, 0x8245BC, 0x8252FC, 0x82533C, 0x858D51, 0x858C61};

class HostVersion : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_os::reset();
    fake_os::state().module_base = fake_base();
    ASSERT_EQ(plugin::module_base(), fake_base());
    for (std::uint32_t at : probe_addresses) put(at, {0xCC, 0xCC, 0xCC, 0xCC});
    fake_os::state().calls.clear();
  }

  static std::uint8_t* host(std::uint32_t link_address) {
    return reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(fake_base() + (link_address - 0x400000)));
  }
  static void put(std::uint32_t link_address, std::vector<std::uint8_t> bytes) {
    std::memcpy(host(link_address), bytes.data(), bytes.size());
  }
  // The addresses whose protection was lifted, in order.
  static std::vector<std::uint32_t> lifted() {
    std::vector<std::uint32_t> out;
    for (const auto& call : fake_os::state().calls)
      if (call.protection == 0x40) out.push_back(static_cast<std::uint32_t>(call.address));
    return out;
  }
  static std::vector<std::uint32_t> first_probes(std::size_t n) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < n; ++i) out.push_back(fake_base() + (probe_addresses[i] - 0x400000));
    return out;
  }
};

TEST_F(HostVersion, ProbesInOrderAndTheFirstMatchWins) {
  using Bytes = std::vector<std::uint8_t>;
  struct Placed {
    std::uint32_t at;
    Bytes bytes;
  };
  struct Case {
    std::vector<Placed> placed;
    std::int32_t code;
    std::size_t reads;
  };
  const Bytes b1001 = {0x55, 0x8B, 0xEC, 0x53}, b1002 = {0xE9, 0x7B, 0x19, 0x16}, b94 = {0xBF, 0x94, 0x00, 0x00},
              b32 = {0x33, 0xF6, 0x39, 0x35};
  const Case cases[] = {
      {{{0x401000, b1001}}, 1001, 1},
      {{{0x401000, b1002}}, 1002, 2},  // 0x401000 is read a second time
      {{{0x8245BC, b94}, {0x8252FC, b94}}, 1011, 3},
      {{{0x8252FC, b94}}, 1101, 4},
      {{{0x82533C, b94}}, 1111, 5},
      {{{0x858D51, b32}, {0x858C61, b32}}, 3200, 6},
      {{{0x858C61, b32}}, 3210, 7},
      {{{0x401000, b1001}, {0x858C61, b32}}, 1001, 1},
      {{}, 0, 7},
      // Right words at the wrong probes, and byte-swapped words, are no match.
      {{{0x8245BC, b32}, {0x858D51, b94}, {0x401000, {0x53, 0xEC, 0x8B, 0x55}}}, 0, 7},
  };
  for (const Case& c : cases) {
    SetUp();
    for (const Placed& p : c.placed) put(p.at, p.bytes);
    EXPECT_EQ(plugin::detail::probe_host_version(), c.code) << "expected " << c.code;
    EXPECT_EQ(lifted(), first_probes(c.reads)) << "expected " << c.code;
    // Every lift that succeeded was put back, over the same four bytes.
    EXPECT_EQ(fake_os::state().calls.size(), 2 * c.reads);
    for (const auto& call : fake_os::state().calls) EXPECT_EQ(call.size, 4u);
  }
}

TEST_F(HostVersion, AFailedLiftStillReadsAndPutsNothingBack) {
  fake_os::state().fail_lifts = true;
  put(0x401000, {0xE9, 0x7B, 0x19, 0x16});
  EXPECT_EQ(plugin::detail::probe_host_version(), 1002);
  EXPECT_EQ(lifted(), first_probes(2));
  EXPECT_EQ(fake_os::state().calls.size(), 2u);
}

TEST_F(HostVersion, UnreadableProbesCountAsNoMatch) {
  // An executable that ends before 0x858000: the last two probes are never touched.
  fake_os::state().readable_begin = fake_base();
  fake_os::state().readable_end = fake_base() + (0x858000 - 0x400000);
  put(0x858D51, {0x33, 0xF6, 0x39, 0x35});
  EXPECT_EQ(plugin::detail::probe_host_version(), 0);
  EXPECT_EQ(lifted(), first_probes(5));

  // One whose first page is missing still finds a later probe.
  fake_os::state().calls.clear();
  fake_os::state().readable_begin = fake_base() + 0x2000;
  fake_os::state().readable_end = fake_base() + span;
  put(0x82533C, {0xBF, 0x94, 0x00, 0x00});
  EXPECT_EQ(plugin::detail::probe_host_version(), 1111);
  const std::vector<std::uint32_t> probed = first_probes(5);
  EXPECT_EQ(lifted(), std::vector<std::uint32_t>(probed.begin() + 2, probed.end()));
}

// The cached getters: the only place in this program that asks host_version_code().
TEST_F(HostVersion, CodeIsProbedOnceThenCached) {
  put(0x8252FC, {0xBF, 0x94, 0x00, 0x00});
  EXPECT_EQ(plugin::host_version_code(), 1101);
  EXPECT_EQ(lifted(), first_probes(4));

  fake_os::state().calls.clear();
  put(0x401000, {0x55, 0x8B, 0xEC, 0x53});
  fake_os::state().module_base = 0x400000;
  EXPECT_EQ(plugin::host_version_code(), 1101);
  EXPECT_EQ(plugin::module_base(), fake_base());
  EXPECT_TRUE(fake_os::state().calls.empty());
}

TEST_F(HostVersion, SelectTakesTheRunningBuildsAddressRebased) {
  const std::int32_t running = plugin::host_version_code();
  const std::int32_t other = running + 1;
  EXPECT_EQ(plugin::select_host_address({{other, 0x500000}, {running, 0xB6F028}}), fake_base() + 0x76F028);
  EXPECT_EQ(plugin::select_host_address({{running, 0x514970}, {running, 0xB6F028}}), fake_base() + 0x114970);
  // Not listed: rebase(0), which is not 0 for a base other than 0x400000.
  EXPECT_EQ(plugin::select_host_address({{other, 0xB6F028}}), fake_base() - 0x400000);
  EXPECT_EQ(plugin::select_host_address({}), fake_base() - 0x400000);
  EXPECT_TRUE(fake_os::state().calls.empty());
}

TEST(Rebase, WrapsInThirtyTwoBits) {
  struct Case {
    std::uint32_t base, address, result;
  };
  const Case cases[] = {
      {0x400000, 0x401000, 0x401000},   {0x400000, 0, 0},
      {0x400000, 0xFFFFFFFF, 0xFFFFFFFF}, {0x10000000, 0x401000, 0x10001000},
      {0x10000000, 0, 0x0FC00000},      {0x200000, 0, 0xFFE00000},
      {0x200000, 0x401000, 0x201000},   {0x10000000, 0xFFFFFFFF, 0x0FBFFFFF},
  };
  for (const Case& c : cases)
    EXPECT_EQ(plugin::rebase_from(c.base, c.address), c.result) << std::hex << c.base << " " << c.address;
  EXPECT_EQ(plugin::rebase(0x401000), plugin::module_base() + 0x1000);
  EXPECT_EQ(plugin::rebase(0), static_cast<std::uint32_t>(plugin::module_base() - 0x400000));
}

}  // namespace
