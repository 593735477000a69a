#pragma once
// The lines of "kestrow.log". Each ends with a newline and a flush, so it is in the file at once.
#include <ostream>

#include "hostlink/host/records.hpp"

namespace kestrow {

void writeVersionLine(std::ostream& log);
void writeToggleLine(std::ostream& log, bool enabled);
void writeClickLine(std::ostream& log, const host::HostEntity& entity);
void writeLogAllStart(std::ostream& log);
void writeLogAllObject(std::ostream& log, const host::HostEntity& entity);
void writeLogAllEnd(std::ostream& log);

}  // namespace kestrow
