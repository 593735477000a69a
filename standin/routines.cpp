#include "standin/routines.hpp"

#include <cstdio>

namespace standin {
namespace {

Trace& trace() { return Game::current().trace; }

struct Colour {
  std::uint8_t r, g, b, a;
};

Arg arg_colour(Colour c) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%u,%u,%u,%u", c.r, c.g, c.b, c.a);
  return arg_name(buf);
}

Arg arg_pointer(const void* p) { return arg_name(Game::current().name_of(p)); }

float STANDIN_THISCALL menu_scale_x(MenuObject* menu, float v) {
  if (trace().recording()) trace().add("HostMenuScaleX", {arg_pointer(menu), arg_float(v)});
  return v * static_cast<float>(*reinterpret_cast<std::int32_t*>(var_screen_width)) / 640.0f;
}

float STANDIN_THISCALL menu_scale_y(MenuObject* menu, float v) {
  if (trace().recording()) trace().add("HostMenuScaleY", {arg_pointer(menu), arg_float(v)});
  return v * static_cast<float>(*reinterpret_cast<std::int32_t*>(var_screen_height)) / 448.0f;
}

void STANDIN_CDECL set_text_scale(float x, float y) { if (trace().recording()) trace().add("HostSetTextScale", {arg_float(x), arg_float(y)}); }

void STANDIN_CDECL set_text_colour(Colour c) { if (trace().recording()) trace().add("HostSetTextColour", {arg_colour(c)}); }

void STANDIN_CDECL print_text(float x, float y, const char* text) {
  if (trace().recording()) trace().add("HostPrintText", {arg_float(x), arg_float(y), arg_text(text)});
}

template <addr Address>
void STANDIN_CDECL text_setting_int(std::int32_t v) {
  if (trace().recording()) trace().add("HostTextSetting", {arg_hex(Address), arg_int(v)});
}

void STANDIN_CDECL text_setting_7194E0(float v) { if (trace().recording()) trace().add("HostTextSetting", {arg_hex(0x7194E0), arg_float(v)}); }

void STANDIN_CDECL text_setting_719510(Colour c) { if (trace().recording()) trace().add("HostTextSetting", {arg_hex(0x719510), arg_colour(c)}); }

}  // namespace

std::uint32_t STANDIN_THISCALL map_page_routine(MenuObject* menu) {
  if (trace().recording()) trace().add("GameMapPage", {arg_pointer(menu)});
  return Game::current().map_routine_result;
}

std::uint32_t STANDIN_CDECL event_routine_53C077() {
  if (trace().recording()) trace().add("GameRoutine", {arg_hex(site_53C077)});
  return Game::current().event_routine_result | 0x077;
}

std::uint32_t STANDIN_CDECL event_routine_53E293() {
  if (trace().recording()) trace().add("GameRoutine", {arg_hex(site_53E293)});
  return Game::current().event_routine_result | 0x293;
}

std::uint32_t STANDIN_CDECL event_routine_5BF85B() {
  if (trace().recording()) trace().add("GameRoutine", {arg_hex(site_5BF85B)});
  return Game::current().event_routine_result | 0x85B;
}

void install_routines(Game& game) {
  GameImage& image = game.image;
  image.write_jump(fn_menu_scale_x, reinterpret_cast<const void*>(&menu_scale_x));
  image.write_jump(fn_menu_scale_y, reinterpret_cast<const void*>(&menu_scale_y));
  image.write_jump(fn_set_text_scale, reinterpret_cast<const void*>(&set_text_scale));
  image.write_jump(fn_set_text_colour, reinterpret_cast<const void*>(&set_text_colour));
  image.write_jump(fn_print_text, reinterpret_cast<const void*>(&print_text));
  image.write_jump(0x719490, reinterpret_cast<const void*>(&text_setting_int<0x719490>));
  image.write_jump(0x7194E0, reinterpret_cast<const void*>(&text_setting_7194E0));
  image.write_jump(0x719510, reinterpret_cast<const void*>(&text_setting_719510));
  image.write_jump(0x719590, reinterpret_cast<const void*>(&text_setting_int<0x719590>));
  image.write_jump(0x7195B0, reinterpret_cast<const void*>(&text_setting_int<0x7195B0>));
  image.write_jump(0x7195C0, reinterpret_cast<const void*>(&text_setting_int<0x7195C0>));
  image.write_jump(0x719600, reinterpret_cast<const void*>(&text_setting_int<0x719600>));
  image.write_jump(0x719610, reinterpret_cast<const void*>(&text_setting_int<0x719610>));
}

}  // namespace standin
