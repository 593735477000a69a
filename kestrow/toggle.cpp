#include "kestrow/toggle.hpp"

#include <algorithm>
#include <string>

#include "hostlink/host/game.hpp"
#include "hostlink/os/os.hpp"
#include "kestrow/log_lines.hpp"
#include "kestrow/state.hpp"

namespace kestrow {
namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool cheatWordTyped(const char* typed) {
  // The game keeps the newest key first, so the word is compared reversed.
  std::string word = "MODELSINFO";
  std::reverse(word.begin(), word.end());
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (typed[i] == 0 || asciiLower(typed[i]) != asciiLower(word[i])) return false;
  }
  return true;
}

void checkToggle() {
  char* typed = host::HostCheatBuffer();
  if (!cheatWordTyped(typed)) return;
  typed[0] = 0;  // the same keys must not match again
  enabled = !enabled;
  leftClickLatch = false;
  middleClickLatch = false;
  writeToggleLine(logFile(), enabled);
}

void resetLatches() {
  if (!hostlink::os::key_down(hostlink::os::vk_lbutton)) leftClickLatch = false;
  if (!hostlink::os::key_down(hostlink::os::vk_mbutton)) middleClickLatch = false;
}

}  // namespace kestrow
