#include "mapcoords/map_readout.hpp"

#include <cstdio>

#include "mapcoords/named_hook_registry.hpp"

namespace mapcoords {

void format_readout(char (&text)[50], float x, float y) {
  for (char& c : text) c = 0;
  std::snprintf(text, 49, "X: %5.0f  Y: %5.0f", static_cast<double>(x), static_cast<double>(y));
}

std::uint8_t HOST_THISCALL HOST_ENTRY map_readout(host::HostMenu* menu) {
  std::uint8_t result = 0;
  const named_hook* hook = find_named_hook(host::site::mapPagePrint);
  if (hook && hook->previous != 0)
    result = reinterpret_cast<host::thiscall_fn<std::uint8_t>>(static_cast<std::uintptr_t>(hook->previous))(menu);

  char text[50];
  format_readout(text, menu->mapX, menu->mapY);

  host::HostTextSetting_719610(1);
  host::HostSetTextColour({255, 255, 255, 255});
  host::HostTextSetting_719490(2);
  const float scale_y = host::HostMenuScaleY(menu, 0.6f);
  const float scale_x = host::HostMenuScaleX(menu, 0.49f);
  host::HostSetTextScale(scale_x, scale_y);
  host::HostTextSetting_719600(0);
  const float y = host::HostMenuScaleY(menu, 395.0f);
  const float x = static_cast<float>(host::HostScreenWidth()) / 11.0f;
  host::HostPrintText(x, y, text);
  return result;
}

}  // namespace mapcoords
