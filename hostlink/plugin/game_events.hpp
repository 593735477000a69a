#pragma once
// The game's events: three CALLs of routines without arguments whose 32-bit result goes back to
// the game, hooked on builds 1001 and 1002 only.
#include <utility>

#include "hostlink/host/game.hpp"
#include "hostlink/injector/hooking.hpp"
#include "hostlink/plugin/events.hpp"

namespace plugin {

template <host::address_t Site>
using GameSiteEvent = BaseEventI<injector::function_hooker, RefList<Ref<Site, 1001, 0, 0, 0>, Ref<Site, 1002, 0, 0, 0>>,
                                 ArgPick<ArgTypes<>, std::index_sequence<>>, void()>;

inline GameSiteEvent<host::site::event53C077>& event53C077() {
  static GameSiteEvent<host::site::event53C077> event;
  return event;
}

inline GameSiteEvent<host::site::event53E293>& event53E293() {
  static GameSiteEvent<host::site::event53E293> event;
  return event;
}

inline GameSiteEvent<host::site::event5BF85B>& event5BF85B() {
  static GameSiteEvent<host::site::event5BF85B> event;
  return event;
}

}  // namespace plugin
