// The label maths over arbitrary floats and screen sizes, against the stand-in's game routines:
// no number may reach them as infinity or NaN. Input: screen width and height (int32), then
// sx, sy, hx, hy for toVirtualScreen and vx, vy, fx, fy for a direct drawLabel (floats).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kestrow/labels.hpp"
#include "standin/game.hpp"

namespace {

standin::Game& game() {
  static standin::Game* g = [] {
    auto* created = new standin::Game;
    std::string error;
    if (!created->start(error)) std::abort();
    return created;
  }();
  return *g;
}

void check_calls() {
  for (const standin::Call& call : game().trace.take())
    for (const standin::Arg& arg : call.args)
      if (arg.numeric && !std::isfinite(arg.number)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint8_t input[40] = {};
  std::memcpy(input, data, size < sizeof input ? size : sizeof input);
  std::int32_t screen[2];
  float f[8];
  std::memcpy(screen, input, sizeof screen);
  std::memcpy(f, input + 8, sizeof f);
  game().set_screen(screen[0], screen[1]);
  const kestrow::VirtualPoint p = kestrow::toVirtualScreen(f[0], f[1], f[2], f[3]);
  kestrow::drawLabel("65535", p.vx, p.vy, p.fx, p.fy);
  check_calls();
  kestrow::drawLabel("7", f[4], f[5], f[6], f[7]);
  check_calls();
  return 0;
}
