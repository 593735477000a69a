#pragma once
// Call-site hooks: a CALL in the game's code redirected to a per-site dispatcher that runs a chain
// of hook callables. A patched call passes no context, so the site address is a template argument
// and every site has its own dispatcher, manager and kept hookers.
#include <cstdint>
#include <functional>
#include <iterator>
#include <list>
#include <memory>
#include <utility>

#include "hostlink/host/calling.hpp"
#include "hostlink/injector/scoped.hpp"
#include "hostlink/plugin/host_version.hpp"

namespace injector {

// The one manager of a call site: owns the CALL patch and the chain of hook entries, shared by
// every hooker of the site. HookerBase carries the site address.
template <class Patch, class HookerBase, class Ret, class... Args>
class function_hooker_manager : Patch {
  static_assert(sizeof...(Args) == 0, "the game's hooked routines take no arguments");
  friend HookerBase;

 public:
  using next_type = std::function<Ret(Args...)>;
  using callable_type = std::function<Ret(next_type)>;
  using routine_type = Ret(HOST_CDECL*)(Args...);

  struct hook_entry {
    const HookerBase* owner;  // the key, never owned
    callable_type callable;
  };

  function_hooker_manager() = default;
  // The hooks go first; then the patch part writes the saved bytes back if they are still out.
  ~function_hooker_manager() override { hooks.clear(); }

  // Unpatches the call site and drops every hook.
  void restore() override {
    if (!installed) return;
    installed = false;
    hooks.clear();
    Patch::restore();
  }

  static std::shared_ptr<function_hooker_manager> shared_instance() { return instance(); }

  // What the patched CALL reaches: cdecl, no arguments, the routine's 32-bit result back.
  static Ret HOST_CDECL HOST_ENTRY call_hooks();

  // Replaces the owner's callable in place, or appends a new entry at the end of the chain.
  void add_hook(const HookerBase* owner, callable_type callable) {
    for (hook_entry& entry : hooks) {
      if (entry.owner == owner) {
        entry.callable = std::move(callable);
        return;
      }
    }
    hooks.push_back(hook_entry{owner, std::move(callable)});
  }

  // Hands `from`'s entry to `to`; the entry moves to the end of the chain.
  void transfer_hook(const HookerBase* from, const HookerBase* to) {
    const auto found = find(from);
    if (found == hooks.end()) return;
    callable_type callable = std::move(found->callable);
    hooks.erase(found);
    add_hook(to, std::move(callable));
  }

  typename std::list<hook_entry>::iterator find(const HookerBase* owner) {
    for (auto it = hooks.begin(); it != hooks.end(); ++it)
      if (it->owner == owner) return it;
    return hooks.end();
  }

  std::uintptr_t previous_target = 0;  // where the site's CALL led before it was patched
  std::list<hook_entry> hooks;         // attach order, first attached first
  bool installed = false;              // the site's CALL leads to call_hooks

  // The patch part, for callers that want to see the saved bytes.
  const Patch& patch() const { return *this; }

 private:
  // The static reference; call_hooks reads through it without taking one of its own.
  static std::shared_ptr<function_hooker_manager>& instance() {
    static std::shared_ptr<function_hooker_manager> manager = std::make_shared<function_hooker_manager>();
    return manager;
  }

  // A next that holds only the manager's address and calls the routine.
  struct to_routine {
    function_hooker_manager* self;
    Ret operator()() const { return reinterpret_cast<routine_type>(self->previous_target)(); }
  };

  // Apart from call_hooks, so that the common one-hook call does not pay for the chain's frame.
  __attribute__((noinline)) Ret call_chain();
};

template <class Patch, class HookerBase, class Ret, class... Args>
Ret HOST_CDECL function_hooker_manager<Patch, HookerBase, Ret, Args...>::call_hooks() {
  function_hooker_manager* const self = instance().get();
  const auto first = self->hooks.begin();
  if (first == self->hooks.end()) return reinterpret_cast<routine_type>(self->previous_target)();
  // Built right in the argument: no wrapper to move in and destroy twice on every call.
  if (std::next(first) == self->hooks.end()) return first->callable(next_type(to_routine{self}));
  return self->call_chain();
}

// Two or more: the last attached runs first and each one's next runs the one attached before.
template <class Patch, class HookerBase, class Ret, class... Args>
Ret function_hooker_manager<Patch, HookerBase, Ret, Args...>::call_chain() {
  next_type chain = to_routine{this};
  for (const hook_entry& entry : hooks) {
    chain = [callable = entry.callable, previous = std::move(chain)]() -> Ret { return callable(previous); };
  }
  return chain();
}

// One hook on the call site at link-time address A. Copying a hooker hands its entry to the copy.
template <class Patch, std::uint32_t A, class Fn, class Ret, class... Args>
class function_hooker_base : public scoped_base {
 public:
  static constexpr std::uint32_t site = A;
  using manager_type = function_hooker_manager<Patch, function_hooker_base, Ret, Args...>;
  using next_type = typename manager_type::next_type;
  using callable_type = typename manager_type::callable_type;

  function_hooker_base() : manager(manager_type::shared_instance()) {}
  function_hooker_base(const function_hooker_base& other) : attached(other.attached), manager(other.manager) {
    manager->transfer_hook(&other, this);
  }
  function_hooker_base& operator=(const function_hooker_base&) = delete;
  ~function_hooker_base() override { detach(); }

  // Leaves the chain; the last hook to leave unpatches the site.
  void restore() override { detach(); }

  virtual void attach(const callable_type& callable) = 0;

  bool attached = false;
  std::shared_ptr<manager_type> manager;

 protected:
  // An empty callable is refused: calling it would throw inside the game's code.
  void attach_hook(const callable_type& callable, std::uintptr_t entry) {
    if (!callable) return;
    attached = true;
    manager->add_hook(this, callable);
    if (!manager->installed) {
      const std::uintptr_t at = plugin::rebase(A);
      manager->previous_target = manager->make_call(at, entry, true);
      manager->installed = true;
    }
  }

 private:
  void detach() {
    attached = false;
    const auto found = manager->find(this);
    if (found == manager->hooks.end()) return;
    manager->hooks.erase(found);
    if (manager->hooks.empty()) manager->restore();
  }
};

template <class Patch, std::uint32_t A, class Signature>
class function_hooker;

template <class Patch, std::uint32_t A, class Ret, class... Args>
class function_hooker<Patch, A, Ret(Args...)> : public function_hooker_base<Patch, A, Ret (*)(Args...), Ret, Args...> {
  using base = function_hooker_base<Patch, A, Ret (*)(Args...), Ret, Args...>;

 public:
  using typename base::callable_type;
  using typename base::manager_type;

  void attach(const callable_type& callable) override {
    this->attach_hook(callable, reinterpret_cast<std::uintptr_t>(&manager_type::call_hooks));
  }
};

// The hookers kept in force until the plugin unloads, one list per hooker type.
template <class Hooker>
std::list<Hooker>& kept_hookers() {
  static std::list<Hooker> hookers;
  return hookers;
}

template <class Hooker>
Hooker& keep_hooker(const Hooker& hooker) {
  std::list<Hooker>& hookers = kept_hookers<Hooker>();
  hookers.emplace_back(hooker);
  return hookers.back();
}

}  // namespace injector
