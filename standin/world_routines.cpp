// The game's world routines, in the game's own calling forms. Each records its arguments as the
// game received them: vectors read through their pointers as "(x,y,z)", out pointers as "out"
// (or "null"), objects by their session names. Routines with an 8-bit result leave junk in the
// upper bits of EAX, as the game may.
#include <cstdio>
#include <cstring>

#include "standin/routines.hpp"

namespace standin {
namespace {

Game& game() { return Game::current(); }
Trace& trace() { return Game::current().trace; }
World& world() { return Game::current().world; }

constexpr std::uint32_t junk_upper = 0xABCDEF00;

std::uint32_t byte_result(bool value) { return junk_upper | (value ? 1u : 0u); }

Arg arg_vec(const Vec3& v) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "(%.7g,%.7g,%.7g)", static_cast<double>(v.x), static_cast<double>(v.y),
                static_cast<double>(v.z));
  return arg_name(buf);
}

Arg arg_vec_at(const void* p) { return p ? arg_vec(*static_cast<const Vec3*>(p)) : arg_name("null"); }

Arg arg_out(const void* p) { return arg_name(p ? "out" : "null"); }

Arg arg_object(const void* p) { return arg_name(game().name_of(p)); }

Arg arg_u32(std::uint32_t v) { return arg_int(v); }

Arg arg_s32(std::uint32_t v) { return arg_int(static_cast<std::int32_t>(v)); }

Arg arg_bits_float(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, 4);
  return arg_float(f);
}

float screen_width() { return static_cast<float>(*reinterpret_cast<const std::int32_t*>(var_screen_width)); }
float screen_height() { return static_cast<float>(*reinterpret_cast<const std::int32_t*>(var_screen_height)); }

// -1 asks for the local player; there is no other.
PlayerRecord* STANDIN_CDECL get_player_character(std::int32_t which) {
  if (trace().recording()) trace().add("HostGetPlayerCharacter", {arg_int(which)});
  return which == -1 ? world().player() : nullptr;
}

std::uint32_t STANDIN_THISCALL player_routine_600F70(PlayerData* self) {
  if (trace().recording()) trace().add("Game600F70", {arg_object(self)});
  return world().result_600F70;
}

// The camera's ray runs from the origin along the aim direction the session set.
void STANDIN_THISCALL camera_aim_ray(void* camera, float range, Vec3 origin, Vec3* start, Vec3* end) {
  if (trace().recording()) trace().add("HostCameraAimRay", {arg_object(camera), arg_float(range), arg_vec(origin), arg_out(start), arg_out(end)});
  const Vec3& d = world().aim_direction;
  if (start) *start = origin;
  if (end) *end = Vec3{origin.x + range * d.x, origin.y + range * d.y, origin.z + range * d.z};
}

std::uint32_t STANDIN_CDECL line_of_sight(const Vec3* start, const Vec3* end, CollisionPoint* point,
                                          EntityRecord** hit, std::uint32_t f1, std::uint32_t f2, std::uint32_t f3,
                                          std::uint32_t f4, std::uint32_t f5, std::uint32_t f6, std::uint32_t f7,
                                          std::uint32_t f8) {
  if (trace().recording()) trace().add("HostLineOfSight", {arg_vec_at(start), arg_vec_at(end), arg_out(point), arg_out(hit), arg_s32(f1),
                                  arg_s32(f2), arg_s32(f3), arg_s32(f4), arg_s32(f5), arg_s32(f6), arg_s32(f7),
                                  arg_s32(f8)});
  World& w = world();
  EntityRecord* entity = nullptr;
  if (w.aim == AimKind::nothing) return byte_result(false);
  if (w.aim == AimKind::entity && !(entity = w.find(w.aim_entity))) return byte_result(false);
  if (point) point->position = w.aim_point;
  if (hit) *hit = entity;
  return byte_result(true);
}

std::uint32_t STANDIN_CDECL register_glow(std::uint32_t a1, std::uint32_t a2, std::uint32_t a3, std::uint32_t a4,
                                          std::uint32_t a5, std::uint32_t a6, std::uint32_t a7, std::uint32_t a8,
                                          std::uint32_t a9, std::uint32_t a10, std::uint32_t a11, std::uint32_t a12,
                                          std::uint32_t a13, std::uint32_t a14, std::uint32_t a15, std::uint32_t a16,
                                          std::uint32_t a17, std::uint32_t a18, std::uint32_t a19, std::uint32_t a20,
                                          std::uint32_t a21) {
  const void* point = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(a7));
  if (trace().recording()) trace().add("HostRegisterGlow",
              {arg_u32(a1), arg_object(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(a2))), arg_s32(a3),
               arg_s32(a4), arg_s32(a5), arg_s32(a6), arg_vec_at(point), arg_bits_float(a8), arg_bits_float(a9),
               arg_s32(a10), arg_s32(a11), arg_s32(a12), arg_s32(a13), arg_s32(a14), arg_bits_float(a15),
               arg_s32(a16), arg_bits_float(a17), arg_s32(a18), arg_bits_float(a19), arg_s32(a20), arg_s32(a21)});
  return junk_upper;
}

// A camera at the origin looking along +y with a 90-degree field: a point is visible from y = 1
// on, lands at W/2 + (x/y)(W/2), H/2 - (z/y)(H/2), and has sizes W/y and H/y (so the overlay's
// size factor is 15/y). Points the session put off screen never project.
std::uint32_t STANDIN_CDECL project_to_screen(const Vec3* point, Vec3* screen, float* size_x, float* size_y,
                                              std::uint32_t f1, std::uint32_t f2) {
  if (trace().recording()) trace().add("HostProjectToScreen",
              {arg_vec_at(point), arg_out(screen), arg_out(size_x), arg_out(size_y), arg_s32(f1), arg_s32(f2)});
  if (!point || !world().projects(*point)) return byte_result(false);
  const Vec3 p = *point;
  const float w = screen_width(), h = screen_height();
  if (screen) *screen = project(p, w, h);
  if (size_x) *size_x = w / p.y;
  if (size_y) *size_y = h / p.y;
  return byte_result(true);
}

ModelInfoRecord* STANDIN_CDECL get_model_info(std::uint32_t model) {
  if (trace().recording()) trace().add("HostGetModelInfo", {arg_u32(model)});
  return &world().model_info(model);
}

std::uint32_t STANDIN_THISCALL entity_routine_6FC7A0(EntityRecord* entity) {
  if (trace().recording()) trace().add("Game6FC7A0", {arg_object(entity)});
  return junk_upper;
}

}  // namespace

void STANDIN_THISCALL draw_entity_routine(EntityRecord* entity) { if (trace().recording()) trace().add("GameDrawEntity", {arg_object(entity)}); }

void install_world_routines(Game& g) {
  GameImage& image = g.image;
  image.write_jump(fn_get_player, reinterpret_cast<const void*>(&get_player_character));
  image.write_jump(fn_player_600F70, reinterpret_cast<const void*>(&player_routine_600F70));
  image.write_jump(fn_camera_aim_ray, reinterpret_cast<const void*>(&camera_aim_ray));
  image.write_jump(fn_line_of_sight, reinterpret_cast<const void*>(&line_of_sight));
  image.write_jump(fn_register_glow, reinterpret_cast<const void*>(&register_glow));
  image.write_jump(fn_project, reinterpret_cast<const void*>(&project_to_screen));
  image.write_jump(fn_model_info, reinterpret_cast<const void*>(&get_model_info));
  image.write_jump(fn_entity_6FC7A0, reinterpret_cast<const void*>(&entity_routine_6FC7A0));
}

}  // namespace standin
