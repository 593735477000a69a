// Call-site hooks on real patched code in the stand-in's image: the chain, its order, the
// hookers' ownership of their entries, and the site's bytes through attach and restore.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "hostlink/injector/hooking.hpp"
#include "tests/unit/game_sites.hpp"

namespace {

using game_sites::log;
using Strings = std::vector<std::string>;

template <std::uint32_t Site>
using Hooker = injector::function_hooker<injector::scoped_call, Site, void*()>;
template <std::uint32_t Site>
using Manager = typename Hooker<Site>::manager_type;

using Callable = std::function<void*(std::function<void*()>)>;

// A hook that logs its name around its next.
Callable named(const std::string& name) {
  return [name](std::function<void*()> next) {
    log().push_back(name);
    void* result = next();
    log().push_back("/" + name);
    return result;
  };
}

template <std::uint32_t Site>
std::uintptr_t dispatcher() {
  return reinterpret_cast<std::uintptr_t>(&Manager<Site>::call_hooks);
}

class CallSiteHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    game_sites::game();
    log().clear();
  }
};

TEST_F(CallSiteHooks, OneHookPatchesTheSiteAndPassesTheResultBack) {
  constexpr std::uint32_t site = 0xA10000;
  game_sites::write_call_site(site, game_sites::routine());
  const auto original = game_sites::bytes(site);
  const auto way_back = game_sites::bytes(site + 5);
  {
    Hooker<site> hooker;
    EXPECT_FALSE(hooker.manager->installed);
    EXPECT_EQ(game_sites::bytes(site), original);
    int calls = 0;
    hooker.attach([&calls](std::function<void*()> next) {
      ++calls;
      return next();
    });
    EXPECT_TRUE(hooker.attached);
    EXPECT_TRUE(hooker.manager->installed);
    EXPECT_EQ(hooker.manager->previous_target, game_sites::routine());
    EXPECT_EQ(injector::peek_call_target(site), dispatcher<site>());
    EXPECT_EQ(game_sites::bytes(site + 5), way_back);  // only the five bytes of the CALL change
    EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(log(), (Strings{"routine", "routine"}));
  }
  EXPECT_EQ(game_sites::bytes(site), original);
}

TEST_F(CallSiteHooks, TheLastAttachedRunsFirstAndTheFirstAttachedCallsTheRoutine) {
  constexpr std::uint32_t site = 0xA10020;
  game_sites::write_call_site(site, game_sites::routine());
  Hooker<site> x, y, z;
  x.attach(named("X"));
  y.attach(named("Y"));
  EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"Y", "X", "routine", "/X", "/Y"}));
  log().clear();
  z.attach(named("Z"));
  EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"Z", "Y", "X", "routine", "/X", "/Y", "/Z"}));
}

TEST_F(CallSiteHooks, AHookThatSkipsNextDecidesTheResult) {
  constexpr std::uint32_t site = 0xA10040;
  game_sites::write_call_site(site, game_sites::routine());
  Hooker<site> outer, inner;
  inner.attach(named("inner"));
  outer.attach([](std::function<void*()>) {
    log().push_back("outer");
    return reinterpret_cast<void*>(0xFEDCBA98u);
  });
  EXPECT_EQ(game_sites::run(site), 0xFEDCBA98u);
  EXPECT_EQ(log(), (Strings{"outer"}));
  // Alone, too: the routine does not run.
  log().clear();
  inner.restore();
  EXPECT_EQ(game_sites::run(site), 0xFEDCBA98u);
  EXPECT_EQ(log(), (Strings{"outer"}));
}

TEST_F(CallSiteHooks, ASecondAttachThroughOneHookerReplacesInPlace) {
  constexpr std::uint32_t site = 0xA10060;
  game_sites::write_call_site(site, game_sites::routine());
  Hooker<site> first, second;
  first.attach(named("A"));
  second.attach(named("B"));
  first.attach(named("C"));
  ASSERT_EQ(first.manager->hooks.size(), 2u);
  EXPECT_EQ(first.manager->hooks.front().owner, &first);
  game_sites::run(site);
  EXPECT_EQ(log(), (Strings{"B", "C", "routine", "/C", "/B"}));
}

TEST_F(CallSiteHooks, ACopyTakesTheEntryToTheEndOfTheChain) {
  constexpr std::uint32_t site = 0xA10080;
  game_sites::write_call_site(site, game_sites::routine());
  const auto original = game_sites::bytes(site);
  Hooker<site> y;
  {
    auto x = std::make_unique<Hooker<site>>();
    x->attach(named("X"));
    y.attach(named("Y"));
    Hooker<site> copy(*x);
    EXPECT_TRUE(copy.attached);
    EXPECT_EQ(copy.manager, x->manager);
    EXPECT_EQ(x->manager.use_count(), 4);  // the static one, x, y, the copy
    game_sites::run(site);
    EXPECT_EQ(log(), (Strings{"X", "Y", "routine", "/Y", "/X"}));

    // The source keeps its flag but no entry: destroying it leaves chain and patch alone.
    EXPECT_TRUE(x->attached);
    x.reset();
    EXPECT_EQ(copy.manager->hooks.size(), 2u);
    EXPECT_EQ(injector::peek_call_target(site), dispatcher<site>());
    log().clear();
    game_sites::run(site);
    EXPECT_EQ(log(), (Strings{"X", "Y", "routine", "/Y", "/X"}));
  }
  // The copy is gone with its entry; y still holds the site.
  log().clear();
  game_sites::run(site);
  EXPECT_EQ(log(), (Strings{"Y", "routine", "/Y"}));
  y.restore();
  EXPECT_EQ(game_sites::bytes(site), original);
}

TEST_F(CallSiteHooks, TheLastRestorePutsTheBytesBackAndALaterAttachPatchesAgain) {
  constexpr std::uint32_t site = 0xA100A0;
  game_sites::write_call_site(site, game_sites::routine());
  const auto original = game_sites::bytes(site);
  Hooker<site> a;
  {
    Hooker<site> b;
    a.attach(named("A"));
    b.attach(named("B"));
    a.restore();
    EXPECT_FALSE(a.attached);
    EXPECT_TRUE(a.manager->installed);
    EXPECT_EQ(injector::peek_call_target(site), dispatcher<site>());
  }
  EXPECT_FALSE(a.manager->installed);
  EXPECT_TRUE(a.manager->hooks.empty());
  EXPECT_EQ(game_sites::bytes(site), original);
  EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"routine"}));

  // The site now calls another routine; a new attach saves and reads it anew.
  game_sites::write_call_site(site, game_sites::other_routine());
  const auto repointed = game_sites::bytes(site);
  log().clear();
  a.attach(named("A"));
  EXPECT_TRUE(a.manager->installed);
  EXPECT_EQ(a.manager->previous_target, game_sites::other_routine());
  EXPECT_EQ(game_sites::run(site), game_sites::other_result);
  EXPECT_EQ(log(), (Strings{"A", "other routine", "/A"}));
  a.restore();
  EXPECT_EQ(game_sites::bytes(site), repointed);
}

TEST_F(CallSiteHooks, RestoringAHookerWithoutAnEntryChangesOnlyItsFlag) {
  constexpr std::uint32_t site = 0xA100C0;
  game_sites::write_call_site(site, game_sites::routine());
  Hooker<site> source, never;
  source.attach(named("S"));
  Hooker<site> copy(source);
  const auto patched = game_sites::bytes(site);

  source.restore();
  never.restore();
  EXPECT_FALSE(source.attached);
  EXPECT_FALSE(never.attached);
  EXPECT_TRUE(copy.attached);
  ASSERT_EQ(copy.manager->hooks.size(), 1u);
  EXPECT_EQ(copy.manager->hooks.front().owner, &copy);
  EXPECT_TRUE(copy.manager->installed);
  EXPECT_EQ(game_sites::bytes(site), patched);
  game_sites::run(site);
  EXPECT_EQ(log(), (Strings{"S", "routine", "/S"}));
}

TEST_F(CallSiteHooks, AnEmptyCallableIsRefusedAndPatchesNothing) {
  constexpr std::uint32_t site = 0xA100E0;
  game_sites::write_call_site(site, game_sites::routine());
  const auto original = game_sites::bytes(site);
  Hooker<site> hooker;
  hooker.attach({});
  EXPECT_FALSE(hooker.attached);
  EXPECT_FALSE(hooker.manager->installed);
  EXPECT_TRUE(hooker.manager->hooks.empty());
  EXPECT_EQ(game_sites::bytes(site), original);
}

TEST_F(CallSiteHooks, AKeptHookerHoldsTheHookAfterTheLocalOneEnds) {
  constexpr std::uint32_t site = 0xA10100;
  game_sites::write_call_site(site, game_sites::routine());
  Hooker<site>* kept;
  {
    Hooker<site> local;
    local.attach(named("K"));
    kept = &injector::keep_hooker(local);
  }
  ASSERT_EQ(injector::kept_hookers<Hooker<site>>().size(), 1u);
  EXPECT_EQ(kept, &injector::kept_hookers<Hooker<site>>().front());
  ASSERT_EQ(kept->manager->hooks.size(), 1u);
  EXPECT_EQ(kept->manager->hooks.front().owner, kept);
  EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"K", "routine", "/K"}));
}

TEST_F(CallSiteHooks, EverySiteHasItsOwnManagerAndDispatcher) {
  constexpr std::uint32_t one = 0xA10120, two = 0xA10140;
  game_sites::write_call_site(one, game_sites::routine());
  game_sites::write_call_site(two, game_sites::other_routine());
  Hooker<one> a;
  Hooker<two> b;
  a.attach(named("one"));
  b.attach(named("two"));
  EXPECT_NE(dispatcher<one>(), dispatcher<two>());
  EXPECT_EQ(game_sites::run(two), game_sites::other_result);
  EXPECT_EQ(game_sites::run(one), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"two", "other routine", "/two", "one", "routine", "/one"}));
}

}  // namespace
