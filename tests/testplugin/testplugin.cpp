// A plugin that exists only to show the stand-in's machinery: it calls a game routine while it
// loads, redirects a call site, and carries two routines in deliberately wrong calling forms.
#include "hostlink/host/game.hpp"
#include "hostlink/injector/hooking.hpp"

namespace {

std::uintptr_t previous_53C077 = 0;

std::uint32_t HOST_CDECL HOST_ENTRY on_53C077() {
  const std::uint32_t result = reinterpret_cast<host::cdecl_fn<std::uint32_t>>(previous_53C077)();
  host::HostPrintText(3.0f, 4.0f, "testplugin site");
  return result + 1;
}

// Wrong: removes four bytes of arguments that the game never pushed.
std::uint32_t __attribute__((stdcall)) pops_too_much(std::uint32_t) { return 0; }

// Wrong: overwrites EBX, which the game expects back unchanged.
__attribute__((naked)) void clobbers_ebx() {
  asm("mov $1, %ebx\n\t"
      "xor %eax, %eax\n\t"
      "ret");
}

struct TestPlugin {
  TestPlugin() {
    host::HostPrintText(1.5f, 2.5f, "testplugin loaded");
    previous_53C077 = good.make_call(host::site::event53C077, reinterpret_cast<std::uintptr_t>(&on_53C077));
    wrong_stack.make_call(host::site::event53E293, reinterpret_cast<std::uintptr_t>(&pops_too_much));
    wrong_register.make_call(host::site::event5BF85B, reinterpret_cast<std::uintptr_t>(&clobbers_ebx));
  }
  ~TestPlugin() { host::HostPrintText(5.0f, 6.0f, "testplugin unloaded"); }

  // Destroyed after the destructor's body: each puts its site's bytes back.
  injector::scoped_call good, wrong_stack, wrong_register;
} plugin;

}  // namespace
