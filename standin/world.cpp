#include "standin/world.hpp"

#include <cstring>

namespace standin {
namespace {

void fill_junk(void* p, std::size_t n) { std::memset(p, 0xEE, n); }

bool same(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

}  // namespace

World::World() {
  fill_junk(&player_, sizeof player_);
  fill_junk(&player_data_, sizeof player_data_);
  player_.entity.matrix = nullptr;
  player_.entity.placement = Vec3{};
  player_.data = &player_data_;
}

Vec3 position_of(const EntityRecord& record) {
  return record.matrix ? record.matrix->position : record.placement;
}

Vec3 project(const Vec3& p, float w, float h) {
  return Vec3{w / 2 + (p.x / p.y) * (w / 2), h / 2 - (p.z / p.y) * (h / 2), p.y};
}

void World::set_position(EntityRecord& record, std::unique_ptr<Matrix>& matrix, Vec3 placement,
                         const Vec3* matrix_position) {
  record.placement = placement;
  if (matrix_position) {
    if (!matrix) {
      matrix.reset(new Matrix);
      fill_junk(matrix.get(), sizeof(Matrix));
    }
    matrix->position = *matrix_position;
    record.matrix = matrix.get();
  } else {
    record.matrix = nullptr;  // the old matrix stays allocated until the object goes
  }
}

EntityRecord& World::place(const std::string& name, std::uint16_t model, Vec3 placement,
                           const Vec3* matrix_position) {
  for (Placed& p : placed_) {
    if (p.name != name) continue;
    p.record->model = model;
    set_position(*p.record, p.matrix, placement, matrix_position);
    return *p.record;
  }
  Placed p{name, std::unique_ptr<EntityRecord>(new EntityRecord), nullptr};
  fill_junk(p.record.get(), sizeof(EntityRecord));
  p.record->model = model;
  set_position(*p.record, p.matrix, placement, matrix_position);
  placed_.push_back(std::move(p));
  return *placed_.back().record;
}

bool World::remove(const std::string& name) {
  for (auto it = placed_.begin(); it != placed_.end(); ++it) {
    if (it->name != name) continue;
    EntityRecord& r = *it->record;
    r.model = 0xDEAD;
    r.placement = Vec3{-9999, -9999, -9999};
    r.matrix = nullptr;
    it->name = "~" + name;
    removed_.push_back(std::move(*it));
    placed_.erase(it);
    return true;
  }
  return false;
}

EntityRecord* World::find(const std::string& name) const {
  for (const Placed& p : placed_)
    if (p.name == name) return p.record.get();
  return nullptr;
}

std::vector<EntityRecord*> World::placed() const {
  std::vector<EntityRecord*> out;
  for (const Placed& p : placed_) out.push_back(p.record.get());
  return out;
}

std::string World::name_of(const void* pointer) const {
  if (pointer == &player_) return "player";
  if (pointer == &player_data_) return "player+0x47C";
  for (const auto* list : {&placed_, &removed_})
    for (const Placed& p : *list) {
      if (pointer == p.record.get()) return p.name;
      if (p.matrix && pointer == p.matrix.get()) return p.name + ".matrix";
    }
  return "";
}

void World::place_player(Vec3 placement, const Vec3* matrix_position) {
  player_present_ = true;
  set_position(player_.entity, player_matrix_, placement, matrix_position);
}

bool World::projects(const Vec3& point) const {
  for (const Vec3& p : offscreen_points)
    if (same(p, point)) return false;
  for (const std::string& name : offscreen_entities)
    if (const EntityRecord* r = find(name))
      if (same(position_of(*r), point)) return false;
  return point.y >= 1.0f;
}

ModelInfoRecord& World::model_info(std::uint32_t model) {
  auto it = model_info_.find(model);
  if (it == model_info_.end()) {
    it = model_info_.emplace(model, ModelInfoRecord{}).first;
    fill_junk(it->second.bytes, sizeof it->second.bytes);
    it->second.bytes[13] = 0;
  }
  return it->second;
}

}  // namespace standin
