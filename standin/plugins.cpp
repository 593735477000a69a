#include "standin/plugins.hpp"

namespace standin {

Plugins::~Plugins() {
  while (!loaded_.empty()) {
    std::string ignored;
    unload(loaded_.begin()->first, ignored);
  }
}

}  // namespace standin
