#pragma once
// Layouts of the game's records, as far as the plugins read them.
#include <cstddef>
#include <cstdint>

namespace host {

struct HostVector {
  float x, y, z;
};

// Colour passed by value: bytes in memory order red, green, blue, alpha.
struct HostColour {
  std::uint8_t r, g, b, a;
};
static_assert(sizeof(HostColour) == 4);

struct HostMatrix {
  std::uint8_t unknown[0x30];
  HostVector position;  // +0x30
};

struct HostEntity {
  std::uint32_t unknown0;
  HostVector placement;     // +0x04
  std::uint8_t unknown10[4];
  HostMatrix* matrix;       // +0x14
  std::uint8_t unknown18[0x0A];
  std::uint16_t modelIndex;  // +0x22

  // Matrix position when the entity has a matrix, else its placement position.
  const HostVector& position() const { return matrix ? matrix->position : placement; }
};
static_assert(offsetof(HostEntity, placement) == 0x04);
static_assert(offsetof(HostEntity, matrix) == 0x14);
static_assert(offsetof(HostEntity, modelIndex) == 0x22);
static_assert(offsetof(HostMatrix, position) == 0x30);

// The player character is an entity; at +0x47C it holds the object whose routine at 0x600F70
// says whether the aim pick may go on.
inline void* HostPlayerAimGate(const HostEntity* player) {
  void* gate;
  __builtin_memcpy(&gate, reinterpret_cast<const std::uint8_t*>(player) + 0x47C, sizeof gate);
  return gate;
}

// Filled by HostLineOfSight; the first three floats are the hit position.
struct HostCollisionPoint {
  HostVector position;
  std::uint8_t rest[32];
};
static_assert(sizeof(HostCollisionPoint) == 44);

struct HostModelInfoRecord {
  std::uint8_t unknown[13];
  std::uint8_t drawFlag;  // +13: nonzero asks for the entity routine at 0x6FC7A0
};

// The menu object that draws the full-screen map page.
struct HostMenu {
  std::uint8_t unknown[0x70];
  float mapX;  // +0x70
  float mapY;  // +0x74
};
static_assert(offsetof(HostMenu, mapX) == 0x70 && offsetof(HostMenu, mapY) == 0x74);

}  // namespace host
