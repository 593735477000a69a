#pragma once
// Everything the plugins use of the game, at its fixed link-time address (image base 0x400000)
// and in its own calling form. Plugin code reaches the game only through this file.
#include <cstdint>

#include "hostlink/host/calling.hpp"
#include "hostlink/host/records.hpp"

namespace host {

// ---- Code addresses the plugins patch ----------------------------------------------------------
namespace site {
constexpr address_t mapPagePrint = 0x57BA28;   // CALL of a thiscall routine of the menu, 8-bit result
constexpr address_t event53C077 = 0x53C077;    // CALLs of cdecl routines without arguments,
constexpr address_t event53E293 = 0x53E293;    // 32-bit result given back
constexpr address_t event5BF85B = 0x5BF85B;
constexpr address_t collectorNop1 = 0x535FC3;  // two code bytes each, set to NOP NOP
constexpr address_t collectorNop2 = 0x535FC9;
constexpr address_t collectorCall = 0x535FCD;  // CALL of a thiscall routine of a HostEntity
}  // namespace site

// ---- Read-only probes that tell the builds apart -------------------------------------------------
namespace probe {
constexpr address_t codeStart = 0x401000;
constexpr address_t at8245BC = 0x8245BC;
constexpr address_t at8252FC = 0x8252FC;
constexpr address_t at82533C = 0x82533C;
constexpr address_t at858D51 = 0x858D51;
constexpr address_t at858C61 = 0x858C61;
}  // namespace probe

// ---- Objects and routines reached through per-build references (rebased at load) ---------------
namespace object {
constexpr address_t camera = 0xB6F028;
constexpr address_t cameraAimRay = 0x514970;
}  // namespace object

// thiscall on the camera: range, origin by value, out ray start, out ray end.
using HostCameraAimRayFn = void(HOST_THISCALL*)(void* camera, float range, HostVector origin,
                                                HostVector* start, HostVector* end);

// ---- Variables ------------------------------------------------------------------------------------
inline std::int32_t& HostScreenWidth() { return variable<std::int32_t, 0xC17044>(); }
inline std::int32_t& HostScreenHeight() { return variable<std::int32_t, 0xC17048>(); }
// Recently typed characters, newest first, zero-terminated.
inline char* HostCheatBuffer() { return &variable<char, 0x969110>(); }

// ---- Menu (map page) ------------------------------------------------------------------------------
inline float HostMenuScaleX(const HostMenu* menu, float v) { return call_thiscall<0x5733E0, float>(menu, v); }
inline float HostMenuScaleY(const HostMenu* menu, float v) { return call_thiscall<0x573410, float>(menu, v); }

// ---- Text -----------------------------------------------------------------------------------------
inline void HostSetTextScale(float x, float y) { call_cdecl<0x719380, void>(x, y); }
inline void HostSetTextColour(HostColour c) { call_cdecl<0x719430, void>(c); }
inline void HostPrintText(float x, float y, const char* text) { call_cdecl<0x71A700, void>(x, y, text); }

// Text attributes for later prints; what each means is the game's, so they go by address.
inline void HostTextSetting_719490(std::int32_t v) { call_cdecl<0x719490, void>(v); }
inline void HostTextSetting_7194E0(float v) { call_cdecl<0x7194E0, void>(v); }
inline void HostTextSetting_719510(HostColour c) { call_cdecl<0x719510, void>(c); }
inline void HostTextSetting_719590(std::int32_t v) { call_cdecl<0x719590, void>(v); }
inline void HostTextSetting_7195B0(std::int32_t v) { call_cdecl<0x7195B0, void>(v); }
inline void HostTextSetting_7195C0(std::int32_t v) { call_cdecl<0x7195C0, void>(v); }
inline void HostTextSetting_719600(std::int32_t v) { call_cdecl<0x719600, void>(v); }
inline void HostTextSetting_719610(std::int32_t v) { call_cdecl<0x719610, void>(v); }

// ---- World ----------------------------------------------------------------------------------------
inline void* HostGetPlayerCharacter(std::int32_t which) { return call_cdecl<0x56E210, void*>(which); }

// thiscall on the object the player holds at +0x47C; nonzero lets the aim pick go on.
inline std::uint32_t HostPlayerRoutine_600F70(void* object) { return call_thiscall<0x600F70, std::uint32_t>(object); }

inline std::uint8_t HostLineOfSight(const HostVector* start, const HostVector* end, HostCollisionPoint* hit,
                                    HostEntity** entity, std::int32_t f1, std::int32_t f2, std::int32_t f3,
                                    std::int32_t f4, std::int32_t f5, std::int32_t f6, std::int32_t f7,
                                    std::int32_t f8) {
  return call_cdecl<0x56BA00, std::uint8_t>(start, end, hit, entity, f1, f2, f3, f4, f5, f6, f7, f8);
}

inline void HostRegisterGlow(std::uint32_t id, void* a2, std::int32_t red, std::int32_t green, std::int32_t blue,
                             std::int32_t alpha, const HostCollisionPoint* at, float a8, float a9,
                             std::int32_t a10, std::int32_t a11, std::int32_t a12, std::int32_t a13,
                             std::int32_t a14, float a15, std::int32_t a16, float a17, std::int32_t a18,
                             float a19, std::int32_t a20, std::int32_t a21) {
  call_cdecl<0x6FC580, void>(id, a2, red, green, blue, alpha, at, a8, a9, a10, a11, a12, a13, a14, a15, a16,
                             a17, a18, a19, a20, a21);
}

inline std::uint8_t HostProjectToScreen(const HostVector* point, HostVector* screen, float* sizeX, float* sizeY,
                                        std::int32_t f1, std::int32_t f2) {
  return call_cdecl<0x70CE30, std::uint8_t>(point, screen, sizeX, sizeY, f1, f2);
}

inline HostModelInfoRecord* HostGetModelInfo(std::uint32_t model) {
  return call_cdecl<0x403DA0, HostModelInfoRecord*>(model);
}

// thiscall on an entity; asked for by its model information.
inline void HostEntityRoutine_6FC7A0(HostEntity* entity) { call_thiscall<0x6FC7A0, void>(entity); }

}  // namespace host
