// Another plugin that got to two call sites first: it redirects the event call at 0x53C077 and the
// map-page call at 0x57BA28 to routines of its own, which note the game call in the trace and then
// call the routine each site led to before. Plugins loaded after it must chain through it.
#include "hostlink/host/game.hpp"
#include "hostlink/injector/hooking.hpp"

namespace {

std::uintptr_t before_53C077 = 0;
std::uintptr_t before_map_page = 0;

std::uint32_t HOST_CDECL HOST_ENTRY own_53C077() {
  host::HostPrintText(7.0f, 0.0f, "siteowner 53C077");
  return reinterpret_cast<host::cdecl_fn<std::uint32_t>>(before_53C077)();
}

// The menu comes in ECX and goes on to the game's routine the same way.
std::uint32_t HOST_THISCALL HOST_ENTRY own_map_page(void* menu) {
  host::HostPrintText(7.0f, 0.0f, "siteowner map page");
  return reinterpret_cast<host::thiscall_fn<std::uint32_t>>(before_map_page)(menu);
}

struct SiteOwner {
  SiteOwner() {
    before_53C077 = event.make_call(host::site::event53C077, reinterpret_cast<std::uintptr_t>(&own_53C077));
    before_map_page = map_page.make_call(host::site::mapPagePrint, reinterpret_cast<std::uintptr_t>(&own_map_page));
  }
  // Each puts its site's bytes back at unload.
  injector::scoped_call event, map_page;
} owner;

}  // namespace
