#include "kestrow/state.hpp"

namespace kestrow {

std::ofstream& logFile() {
  static std::ofstream stream;
  return stream;
}

std::list<host::HostEntity*>& renderedObjects() {
  static std::list<host::HostEntity*> objects;
  return objects;
}

bool enabled = false;
bool leftClickLatch = false;
bool middleClickLatch = false;

}  // namespace kestrow
