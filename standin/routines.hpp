#pragma once
// The game's routines as the stand-in implements them, in the game's own calling forms.
#include "standin/game.hpp"

#define STANDIN_CDECL __attribute__((cdecl, force_align_arg_pointer))
#define STANDIN_THISCALL __attribute__((thiscall, force_align_arg_pointer))

namespace standin {

// Writes a jump to each routine's implementation at the routine's game address.
void install_routines(Game& game);

// The routines the game's call sites call before any plugin redirects them.
std::uint32_t STANDIN_THISCALL map_page_routine(MenuObject* menu);
std::uint32_t STANDIN_CDECL event_routine_53C077();
std::uint32_t STANDIN_CDECL event_routine_53E293();
std::uint32_t STANDIN_CDECL event_routine_5BF85B();

// The world's routines (world_routines.cpp), and the object-drawing routine that the code at
// 0x535FCD calls for each object.
void install_world_routines(Game& game);
void STANDIN_THISCALL draw_entity_routine(EntityRecord* entity);

}  // namespace standin
