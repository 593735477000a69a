#pragma once
// The game's address map as the stand-in builds it. Written from the game's description on its
// own, never from hostlink/host: a mistake in the plugins' declarations must not be mirrored here.
#include <cstdint>

namespace standin {

using addr = std::uint32_t;

// The game image: link-time base 0x400000, code from 0x401000 up to 0xC21000.
constexpr addr image_base = 0x400000;
constexpr addr image_begin = 0x401000;
constexpr addr image_end = 0xC21000;

// Call sites a plugin patches.
constexpr addr site_map_page = 0x57BA28;
constexpr addr site_53C077 = 0x53C077;
constexpr addr site_53E293 = 0x53E293;
constexpr addr site_5BF85B = 0x5BF85B;
constexpr addr collector_nop1 = 0x535FC3;
constexpr addr collector_nop2 = 0x535FC9;
constexpr addr collector_call = 0x535FCD;

// Routines the plugins call.
constexpr addr fn_menu_scale_x = 0x5733E0;       // thiscall(menu, float) -> float
constexpr addr fn_menu_scale_y = 0x573410;       // thiscall(menu, float) -> float
constexpr addr fn_set_text_scale = 0x719380;     // cdecl(float, float)
constexpr addr fn_set_text_colour = 0x719430;    // cdecl(rgba)
constexpr addr fn_print_text = 0x71A700;         // cdecl(float, float, const char*)
constexpr addr fn_get_player = 0x56E210;         // cdecl(int) -> player
constexpr addr fn_player_600F70 = 0x600F70;      // thiscall(object at player+0x47C) -> int
constexpr addr fn_camera_aim_ray = 0x514970;     // thiscall(camera, float, vec3 by value, vec3*, vec3*)
constexpr addr fn_line_of_sight = 0x56BA00;      // cdecl(vec3*, vec3*, colpoint*, entity**, 8 flags) -> u8
constexpr addr fn_register_glow = 0x6FC580;      // cdecl, 21 arguments
constexpr addr fn_project = 0x70CE30;            // cdecl(vec3*, vec3*, float*, float*, int, int) -> u8
constexpr addr fn_model_info = 0x403DA0;         // cdecl(model) -> record
constexpr addr fn_entity_6FC7A0 = 0x6FC7A0;      // thiscall(entity)

// Text settings: one cdecl argument each (an int, except 0x7194E0: float, 0x719510: rgba).
constexpr addr text_settings[] = {0x719490, 0x7194E0, 0x719510, 0x719590,
                                  0x7195B0, 0x7195C0, 0x719600, 0x719610};

// Variables.
constexpr addr var_screen_width = 0xC17044;
constexpr addr var_screen_height = 0xC17048;
constexpr addr var_cheat_buffer = 0x969110;
constexpr addr var_camera = 0xB6F028;
constexpr int cheat_buffer_size = 30;

}  // namespace standin
