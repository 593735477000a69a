// The Windows stand-in cannot play the game loaded elsewhere: the plugins ask Windows itself for
// the executable's base, which is the stand-in's own fixed one.
#include "standin/game.hpp"

namespace standin {

bool Game::place_copy_at(addr, std::string& error) {
  error = "the Windows stand-in runs only at its own base";
  return false;
}

}  // namespace standin
