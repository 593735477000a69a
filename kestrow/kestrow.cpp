// The plugin's static objects, in their load order: the log stream, the list of collected
// objects, then the one Kestrow, whose constructor does the set-up. (The game references of
// hostlink are settled before all of them.) Unload destroys them in reverse: the event sites
// come back first, the log is flushed and closed last.
#include "hostlink/plugin/game_events.hpp"
#include "kestrow/aim.hpp"
#include "kestrow/collector.hpp"
#include "kestrow/log_lines.hpp"
#include "kestrow/state.hpp"

namespace kestrow {

class Kestrow {
 public:
  Kestrow();
};

Kestrow::Kestrow() {
  // Truncated, in text mode. The C runtime opens it sharing deny-none, so the log can be read
  // (and even written) by other programs while the game runs. A failed open leaves the stream
  // failed: every line is then dropped and the overlay works as usual.
  logFile().open("kestrow.log", std::ios::out | std::ios::trunc);
  writeVersionLine(logFile());
  plugin::event53C077().AddHandler(plugin::event53C077().postCall, processAim);
  plugin::event53E293().AddHandler(plugin::event53E293().postCall, processRenderedObjects);
  plugin::event5BF85B().AddHandler(plugin::event5BF85B().postCall, installCollector);
}

namespace {

std::ofstream& logStream = logFile();
std::list<host::HostEntity*>& collected = renderedObjects();
Kestrow theKestrow;

}  // namespace
}  // namespace kestrow
