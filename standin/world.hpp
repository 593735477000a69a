#pragma once
// The game world as the overlay sees it: the player, placed objects, the camera's aim, what the
// line of sight hits, what projects onto the screen and the per-model information records.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace standin {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

// The game's records, laid out as the game lays them out. Bytes the plugins must not read are
// filled with 0xEE, so a field read at the wrong offset or width shows up as junk.
struct Matrix {
  float rotation[12];
  Vec3 position;  // +0x30
  float w;
};

struct EntityRecord {
  std::uint32_t kind;     // +0x00
  Vec3 placement;         // +0x04
  float heading;          // +0x10
  Matrix* matrix;         // +0x14
  std::uint8_t a[0x0A];   // +0x18
  std::uint16_t model;    // +0x22
  std::uint8_t b[0x5C];   // +0x24, up to 0x80
};

struct PlayerData {  // the object the player points to at +0x47C
  std::uint8_t unknown[0x40];
};

struct PlayerRecord {
  EntityRecord entity;                 // the player is placed like any object
  std::uint8_t unknown[0x47C - 0x80];
  PlayerData* data;                    // +0x47C
};

struct CollisionPoint {  // 44 bytes; the first three floats are the hit position
  Vec3 position;
  std::uint8_t rest[32];
};

struct ModelInfoRecord {
  std::uint8_t bytes[0x20];  // byte 13: the game draws an extra pass when set
};

static_assert(offsetof(Matrix, position) == 0x30, "matrix position");
static_assert(offsetof(EntityRecord, placement) == 0x04, "placement");
static_assert(offsetof(EntityRecord, matrix) == 0x14, "matrix pointer");
static_assert(offsetof(EntityRecord, model) == 0x22, "model number");
static_assert(offsetof(PlayerRecord, data) == 0x47C, "player data");
static_assert(sizeof(CollisionPoint) == 44, "collision point");

// What the line of sight reports.
enum class AimKind { nothing, entity, hit_without_entity };

class World {
 public:
  World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // Objects, by the session's names. Moving keeps the record's address; removing keeps the
  // memory (a plugin holding it on reads model 0xDEAD at -9999,-9999,-9999) under "~NAME".
  EntityRecord& place(const std::string& name, std::uint16_t model, Vec3 placement, const Vec3* matrix_position);
  bool remove(const std::string& name);
  EntityRecord* find(const std::string& name) const;
  std::vector<EntityRecord*> placed() const;  // in the order first placed
  std::string name_of(const void* pointer) const;  // empty when not the world's

  void set_player(bool present) { player_present_ = present; }
  void place_player(Vec3 placement, const Vec3* matrix_position);
  PlayerRecord* player() { return player_present_ ? &player_ : nullptr; }
  std::uint32_t result_600F70 = 1;

  Vec3 aim_direction{0, 1, 0};  // the camera's aim ray: origin + range * direction
  AimKind aim = AimKind::nothing;
  std::string aim_entity;       // AimKind::entity
  Vec3 aim_point;               // hit position for both kinds of hit

  // Points that do not project, and objects whose current position does not.
  std::vector<Vec3> offscreen_points;
  std::vector<std::string> offscreen_entities;
  bool projects(const Vec3& point) const;

  ModelInfoRecord& model_info(std::uint32_t model);

 private:
  struct Placed {
    std::string name;
    std::unique_ptr<EntityRecord> record;
    std::unique_ptr<Matrix> matrix;
  };
  void set_position(EntityRecord& record, std::unique_ptr<Matrix>& matrix, Vec3 placement,
                    const Vec3* matrix_position);

  std::vector<Placed> placed_;
  std::vector<Placed> removed_;
  bool player_present_ = true;
  PlayerRecord player_;
  PlayerData player_data_;
  std::unique_ptr<Matrix> player_matrix_;
  std::map<std::uint32_t, ModelInfoRecord> model_info_;
};

// The position rule: the matrix position when there is a matrix, else the placement.
Vec3 position_of(const EntityRecord& record);

// The camera at the origin looking along +y with a 90-degree field, on a width x height screen:
// (screen x, screen y, depth). Meaningful for points with y >= 1.
Vec3 project(const Vec3& point, float width, float height);

}  // namespace standin
