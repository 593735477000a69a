// Events on call sites of the stand-in's image (build 1001): registration, lazy patching, the
// builds and instructions that are left alone, and the order of a dispatch.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "hostlink/plugin/events.hpp"
#include "tests/unit/game_sites.hpp"

namespace {

using game_sites::log;
using Strings = std::vector<std::string>;

template <std::uint32_t Site, std::int32_t... Codes>
using Event = plugin::BaseEventI<injector::function_hooker, plugin::RefList<plugin::Ref<Site, Codes, 0, 0, 0>...>,
                                 plugin::ArgPick<plugin::ArgTypes<>, std::index_sequence<>>, void()>;

template <std::uint32_t Site>
using SiteHooker = injector::function_hooker<injector::scoped_call, Site, void*()>;

// Events that patch live as long as their kept hooks: until the program ends.
template <class E>
E& lasting() {
  static E event;
  return event;
}

std::function<void()> logs(const std::string& text) {
  return [text] { log().push_back(text); };
}

void plain_one() { log().push_back("plain one"); }
void plain_two() { log().push_back("plain two"); }

class Events : public ::testing::Test {
 protected:
  void SetUp() override {
    game_sites::game();
    log().clear();
  }
};

TEST_F(Events, OnlyTheSamePlainFunctionOnTheSameListIsADuplicate) {
  Event<0xA20000, 3200> event;  // not the running build: nothing is patched
  const auto lambda = logs("lambda");
  struct Step {
    bool pre;
    std::function<void()> handler;
    bool added;
  };
  const Step steps[] = {
      {false, plain_one, true},
      {false, plain_one, false},  // the same function, same list
      {true, plain_one, true},    // the other list is not searched
      {false, plain_two, true},
      {false, lambda, true},
      {false, lambda, true},  // copies of one lambda are never compared
      {false, [] { plain_one(); }, true},
      {false, std::function<void()>{}, false},  // empty: refused
      {true, plain_one, false},
  };
  std::size_t step = 0;
  for (const Step& s : steps) {
    EXPECT_EQ(event.AddHandler(s.pre ? event.preCall : event.postCall, s.handler), s.added) << "step " << step;
    ++step;
  }
  EXPECT_EQ(event.preCall.size(), 1u);
  EXPECT_EQ(event.postCall.size(), 5u);
  for (const auto& entry : event.postCall) EXPECT_EQ(entry.reserved, 0);

  event.Dispatch([] { return nullptr; });
  EXPECT_EQ(log(), (Strings{"plain one", "plain one", "plain two", "lambda", "lambda", "plain one"}));
}

TEST_F(Events, AnEmptyHandlerAloneDoesNotPatch) {
  using E = Event<0xA20020, 1001>;
  game_sites::write_call_site(0xA20020, game_sites::routine());
  const auto original = game_sites::bytes(0xA20020);
  E& event = lasting<E>();
  EXPECT_FALSE(event.AddHandler(event.postCall, {}));
  EXPECT_FALSE(event.patched);
  EXPECT_EQ(game_sites::bytes(0xA20020), original);
  EXPECT_TRUE(injector::kept_hookers<SiteHooker<0xA20020>>().empty());
}

TEST_F(Events, TheFirstHandlerPatchesOnceAndHandlersRunAroundTheRoutine) {
  constexpr std::uint32_t site = 0xA20040;
  using E = Event<site, 1001, 1002>;
  game_sites::write_call_site(site, game_sites::routine());
  const auto original = game_sites::bytes(site);
  E& event = lasting<E>();
  EXPECT_FALSE(event.patched);

  EXPECT_TRUE(event.AddHandler(event.postCall, logs("post 1")));
  EXPECT_TRUE(event.patched);
  EXPECT_EQ(injector::peek_call_target(site),
            reinterpret_cast<std::uintptr_t>(&SiteHooker<site>::manager_type::call_hooks));
  const auto patched = game_sites::bytes(site);
  EXPECT_NE(patched, original);

  EXPECT_TRUE(event.AddHandler(event.preCall, logs("pre")));
  EXPECT_TRUE(event.AddHandler(event.postCall, logs("post 2")));
  EXPECT_EQ(injector::kept_hookers<SiteHooker<site>>().size(), 1u);
  EXPECT_EQ(SiteHooker<site>::manager_type::shared_instance()->hooks.size(), 1u);
  EXPECT_EQ(game_sites::bytes(site), patched);

  EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"pre", "routine", "post 1", "post 2"}));
}

TEST_F(Events, ABuildThatIsNotListedKeepsHandlersButNeverRunsThem) {
  constexpr std::uint32_t site = 0xA20060;
  using E = Event<site, 1002, 3200>;
  game_sites::write_call_site(site, game_sites::routine());
  const auto original = game_sites::bytes(site, 10);
  E& event = lasting<E>();
  EXPECT_TRUE(event.AddHandler(event.postCall, logs("post")));
  EXPECT_TRUE(event.AddHandler(event.preCall, logs("pre")));
  EXPECT_TRUE(event.patched);
  EXPECT_EQ(event.postCall.size(), 1u);
  EXPECT_EQ(game_sites::bytes(site, 10), original);
  EXPECT_TRUE(injector::kept_hookers<SiteHooker<site>>().empty());
  EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"routine"}));
}

// Anything but a five-byte relative CALL is left alone, as on a build without addresses.
TEST_F(Events, OnlyARelativeCallIsPatched) {
  constexpr std::uint32_t indirect = 0xA20080, no_call = 0xA200A0;
  game_sites::write_indirect_call_site(indirect, 0xA30000, game_sites::routine());
  const std::uint8_t mov_eax[5] = {0xB8, 0x01, 0x01, 0x00, 0x00};
  game_sites::write_call_site(no_call, game_sites::routine());
  game_sites::game().image.write(no_call, mov_eax, sizeof mov_eax);
  const auto indirect_bytes = game_sites::bytes(indirect, 11);
  const auto no_call_bytes = game_sites::bytes(no_call, 10);

  auto& e1 = lasting<Event<indirect, 1001>>();
  auto& e2 = lasting<Event<no_call, 1001>>();
  EXPECT_TRUE(e1.AddHandler(e1.postCall, logs("indirect")));
  EXPECT_TRUE(e2.AddHandler(e2.postCall, logs("no call")));
  EXPECT_TRUE(e1.patched);
  EXPECT_EQ(game_sites::bytes(indirect, 11), indirect_bytes);
  EXPECT_EQ(game_sites::bytes(no_call, 10), no_call_bytes);
  EXPECT_EQ(game_sites::run(indirect), game_sites::routine_result);
  EXPECT_EQ(game_sites::run(no_call), 0x101u);
  EXPECT_EQ(log(), (Strings{"routine"}));
}

TEST_F(Events, AHandlerAppendedDuringTheWalkRunsInTheSameWalk) {
  constexpr std::uint32_t site = 0xA200C0;
  using E = Event<site, 1001>;
  game_sites::write_call_site(site, game_sites::routine());
  E& event = lasting<E>();
  static bool appended = false;
  event.AddHandler(event.postCall, [] {
    log().push_back("first");
    if (appended) return;
    appended = true;
    lasting<E>().AddHandler(lasting<E>().postCall, logs("appended"));
  });
  event.AddHandler(event.postCall, logs("second"));
  EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"routine", "first", "second", "appended"}));
  log().clear();
  EXPECT_EQ(game_sites::run(site), game_sites::routine_result);
  EXPECT_EQ(log(), (Strings{"routine", "first", "second", "appended"}));
}

TEST_F(Events, DispatchCallsEachHandlerThroughAFreshCopy) {
  Event<0xA200E0, 3200> event;
  std::vector<int> seen;
  event.AddHandler(event.preCall, [&seen, count = 0]() mutable { seen.push_back(++count); });
  void* const result = event.Dispatch([&seen] {
    seen.push_back(-1);
    return reinterpret_cast<void*>(0xCAFE);
  });
  event.Dispatch([&seen] {
    seen.push_back(-1);
    return nullptr;
  });
  EXPECT_EQ(result, reinterpret_cast<void*>(0xCAFE));
  EXPECT_EQ(seen, (std::vector<int>{1, -1, 1, -1}));
}

}  // namespace
