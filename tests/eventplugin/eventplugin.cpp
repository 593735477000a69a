// A plugin that exists only to show events end to end: it reads the load-time references from
// its own static initialiser, attaches handlers to the game's three events and reports through
// HostPrintText what ran, in which order, and what the call sites held when its handlers died.
#include <cstdio>
#include <cstring>
#include <memory>

#include "hostlink/host/game.hpp"
#include "hostlink/plugin/game_events.hpp"
#include "hostlink/plugin/host_references.hpp"
#include "hostlink/plugin/host_version.hpp"

namespace {

void print(float x, const char* text) { host::HostPrintText(x, 0.0f, text); }

// Defined before the plugin object and in the plugin's own file: if the references were settled
// after the plugin's statics, this would see them still 0.
struct ReportReferences {
  ReportReferences() {
    char text[96];
    std::snprintf(text, sizeof text, "camera 0x%08X aimray 0x%08X", static_cast<unsigned>(plugin::HostCamera),
                  static_cast<unsigned>(plugin::HostCameraAimRay));
    print(1, text);
  }
} report_references;

// Held by a handler; when the last copy goes (the event's list at unload) it tells whether the
// call site already had its own bytes back.
class SiteWitness {
 public:
  SiteWitness(std::uint32_t site, const char* name) : at_(plugin::rebase(site)), name_(name) {
    std::memcpy(original_, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(at_)), sizeof original_);
  }
  ~SiteWitness() {
    const bool restored =
        std::memcmp(original_, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(at_)), sizeof original_) == 0;
    char text[64];
    std::snprintf(text, sizeof text, "%s handlers gone, site %s", name_, restored ? "restored" : "still patched");
    print(9, text);
  }

 private:
  std::uint32_t at_;
  const char* name_;
  std::uint8_t original_[5];
};

void plain_53C077() { print(3, "53C077 plain function"); }
void after_53E293() { print(3, "post 53E293 plain"); }
void after_5BF85B() { print(3, "post 5BF85B plain"); }

bool appended = false;  // lasting state lives outside the callables

struct EventPlugin {
  EventPlugin() {
    auto& e1 = plugin::event53C077();
    // Taken before the first handler patches the site.
    auto w1 = std::make_shared<SiteWitness>(host::site::event53C077, "53C077");
    auto w2 = std::make_shared<SiteWitness>(host::site::event53E293, "53E293");
    auto w3 = std::make_shared<SiteWitness>(host::site::event5BF85B, "5BF85B");

    e1.AddHandler(e1.postCall, plain_53C077);
    e1.AddHandler(e1.postCall, plain_53C077);  // a duplicate: dropped
    e1.AddHandler(e1.preCall, plain_53C077);   // the other list: kept
    e1.AddHandler(e1.preCall, [w1] { print(2, "pre 53C077 lambda"); });
    e1.AddHandler(e1.postCall, [] {
      print(4, "post 53C077 lambda");
      if (appended) return;
      appended = true;
      plugin::event53C077().AddHandler(plugin::event53C077().postCall, [] { print(5, "post 53C077 appended"); });
    });
    e1.AddHandler(e1.postCall, {});  // empty: refused

    auto& e2 = plugin::event53E293();
    e2.AddHandler(e2.postCall, after_53E293);
    e2.AddHandler(e2.postCall, [w2] {});

    auto& e3 = plugin::event5BF85B();
    e3.AddHandler(e3.postCall, after_5BF85B);
    e3.AddHandler(e3.postCall, [w3] {});
    print(1, "eventplugin loaded");
  }
} plugin_object;

}  // namespace
