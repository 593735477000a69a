#pragma once
// Events: a call instruction in the game's code that runs plugin handlers before and after the
// routine it calls. The event patches its call site when its first handler arrives, and only in
// the builds its references list; elsewhere it keeps its handlers and never runs them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <utility>

#include "hostlink/injector/hooking.hpp"
#include "hostlink/os/os.hpp"
#include "hostlink/plugin/host_version.hpp"

namespace plugin {

// One reference: the call site's link-time address and the build it applies to. The three further
// integers are carried for the layout's sake and unused.
template <std::uint32_t Site, std::int32_t Code, std::int32_t X1 = 0, std::int32_t X2 = 0, std::int32_t X3 = 0>
struct Ref {
  static constexpr std::uint32_t site = Site;
  static constexpr std::int32_t code = Code;
};

template <class... Refs>
struct RefList {};

// The hooked routine's argument types, and which of them the handlers get (by index).
template <class... Types>
struct ArgTypes {};

template <class Types, class Picked>
struct ArgPick;

template <class... Types, std::size_t... Picked>
struct ArgPick<ArgTypes<Types...>, std::index_sequence<Picked...>> {
  static_assert(sizeof...(Types) == 0 && sizeof...(Picked) == 0, "handlers of these events take no arguments");
};

template <template <class, std::uint32_t, class> class Hook, class References, class Pick, class Signature>
class BaseEventI;

template <template <class, std::uint32_t, class> class Hook, class... Refs, class Pick, class Signature>
class BaseEventI<Hook, RefList<Refs...>, Pick, Signature> {
 public:
  using handler_type = std::function<Signature>;

  struct HandlerEntry {
    handler_type handler;
    std::int32_t reserved = 0;
    // The handler's target when it is a plain function. A copy of a function pointer cannot
    // differ from it, so Dispatch calls it directly instead of through a fresh copy.
    void (*function)() = nullptr;
  };
  using HandlerList = std::list<HandlerEntry>;

  BaseEventI() = default;
  BaseEventI(const BaseEventI&) = delete;
  BaseEventI& operator=(const BaseEventI&) = delete;

  // Appends a copy of `handler` to `list` (this event's preCall or postCall). The first handler
  // patches the call site. Refused, silently: an empty handler, and a plain function already in
  // `list`. Returns whether the handler was added.
  bool AddHandler(HandlerList& list, const handler_type& handler) {
    if (!handler) return false;
    void (*function)() = nullptr;
    if (auto* const* target = handler.template target<void (*)()>()) {
      function = *target;
      for (const HandlerEntry& entry : list)
        if (entry.function == function) return false;
    }
    if (!patched) {
      patched = true;
      PatchAll(RefList<Refs...>{});
    }
    list.push_back(HandlerEntry{handler, 0, function});
    return true;
  }

  // Hooks every reference that lists the running build, in list order.
  template <class... R>
  void PatchAll(RefList<R...>) {
    (PatchOne<R>(), ...);
  }

  // Runs at each execution of the call site: preCall, the routine (through `next`), postCall.
  void* Dispatch(const std::function<void*()>& next) {
    Walk(preCall);
    void* const result = next();
    Walk(postCall);
    return result;
  }

  bool patched = false;
  HandlerList preCall;
  HandlerList postCall;

 private:
  template <class R>
  void PatchOne() {
    if (host_version_code() != R::code) return;
    // Only a five-byte relative CALL is replaced: over a six-byte indirect CALL, the byte left
    // behind would run as code after the return.
    const std::uint32_t at = rebase(R::site);
    if (!hostlink::os::is_readable(at, 5) || injector::read_memory<std::uint8_t>(at) != injector::opcode::call_rel32)
      return;
    Hook<injector::scoped_call, R::site, void*()> hook;
    hook.attach([this](const std::function<void*()>& next) { return Dispatch(next); });
    injector::keep_hooker(hook);
  }

  // The successor is read only after a handler returns, so a handler appended meanwhile runs in
  // this same walk. Each handler runs through a fresh copy: a change to state inside the callable
  // is gone when the call ends.
  static void Walk(const HandlerList& list) {
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (it->function) {
        it->function();
      } else {
        handler_type handler = it->handler;
        handler();
      }
    }
  }
};

}  // namespace plugin
