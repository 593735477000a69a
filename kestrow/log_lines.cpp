#include "kestrow/log_lines.hpp"

namespace kestrow {
namespace {

// "<prefix><model> coord <x> <y> <z>", numbers in the stream's default formatting.
void writeObject(std::ostream& log, const char* prefix, const host::HostEntity& entity) {
  const host::HostVector& p = entity.position();
  log << prefix << entity.modelIndex << " coord " << p.x << " " << p.y << " " << p.z << std::endl;
}

}  // namespace

void writeVersionLine(std::ostream& log) { log << "v1.1" << std::endl; }

void writeToggleLine(std::ostream& log, bool enabled) { log << "Enabled: " << enabled << std::endl; }

void writeClickLine(std::ostream& log, const host::HostEntity& entity) { writeObject(log, "Click: ID ", entity); }

void writeLogAllStart(std::ostream& log) { log << "--------- Start Logging all ---------" << std::endl; }

void writeLogAllObject(std::ostream& log, const host::HostEntity& entity) { writeObject(log, "ID ", entity); }

void writeLogAllEnd(std::ostream& log) { log << "--------- End Logging all ---------" << std::endl; }

}  // namespace kestrow
