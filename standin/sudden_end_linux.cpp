#include <signal.h>
#include <unistd.h>

#include "standin/sudden_end.hpp"

namespace standin {

void end_suddenly() {
  raise(SIGKILL);
  _exit(137);  // not reached
}

}  // namespace standin
