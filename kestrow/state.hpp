#pragma once
// The overlay's process-wide state. kestrow.cpp constructs the objects in their load order.
#include <fstream>
#include <list>

#include "hostlink/host/records.hpp"

namespace kestrow {

std::ofstream& logFile();
std::list<host::HostEntity*>& renderedObjects();

extern bool enabled;           // the overlay is on
extern bool leftClickLatch;    // a click line was written for the current left press
extern bool middleClickLatch;  // a log-all run was started for the current middle press

}  // namespace kestrow
