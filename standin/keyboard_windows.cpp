// Windows flavour: buttons go through SetKeyboardState, which GetKeyState reads on this thread.
#include <windows.h>

#include "standin/game.hpp"

namespace standin {

void Game::set_button(int virtual_key, bool down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  BYTE& key = state[virtual_key & 0xFF];
  const BYTE toggle = static_cast<BYTE>((key & 1) ^ (down ? 1 : 0));
  key = static_cast<BYTE>((down ? 0x80 : 0) | toggle);
  SetKeyboardState(state);
}

std::int16_t Game::key_state(int virtual_key) const { return GetKeyState(virtual_key); }

}  // namespace standin
