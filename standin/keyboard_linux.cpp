// i386 flavour: the stand-in keeps the key state and answers the plugins' platform layer.
#include "standin/game.hpp"

namespace standin {

void Game::set_button(int virtual_key, bool down) {
  std::int16_t& state = keys_[virtual_key & 0xFF];
  const std::int16_t toggle = static_cast<std::int16_t>((state & 1) ^ (down ? 1 : 0));
  state = static_cast<std::int16_t>((down ? 0x8000 : 0) | toggle);  // low bit: toggled, as in Windows
}

std::int16_t Game::key_state(int virtual_key) const { return keys_[virtual_key & 0xFF]; }

}  // namespace standin

// What hostlink's Linux platform layer asks of the game process. A test program that links
// hostlink asks before any game has started: the game's range is then empty.
extern "C" __attribute__((visibility("default"))) std::uint32_t standin_module_base() {
  const standin::Game* game = standin::Game::running();
  return game ? game->module_base() : standin::image_base;
}

extern "C" __attribute__((visibility("default"))) std::int16_t standin_key_state(int virtual_key) {
  const standin::Game* game = standin::Game::running();
  return game ? game->key_state(virtual_key) : 0;
}
