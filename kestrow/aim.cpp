#include "kestrow/aim.hpp"

#include <string>

#include "hostlink/host/game.hpp"
#include "hostlink/os/os.hpp"
#include "hostlink/plugin/host_references.hpp"
#include "kestrow/labels.hpp"
#include "kestrow/log_lines.hpp"
#include "kestrow/state.hpp"
#include "kestrow/toggle.hpp"

namespace kestrow {
namespace {

constexpr float aimRange = 200.0f;
constexpr std::uint32_t glowIdBase = 6969;  // glow id = model number + this

void registerGlow(const host::HostEntity& entity, const host::HostCollisionPoint& hit) {
  host::HostRegisterGlow(entity.modelIndex + glowIdBase, nullptr, 255, 100, 50, 255, &hit, 1.0f, 500.0f, 0, 0, 0, 0,
                         0, 0.0f, 0, 0.1f, 0, 50.0f, 0, 0);
}

}  // namespace

void processAim() {
  checkToggle();
  if (!enabled) return;
  resetLatches();

  auto* player = static_cast<host::HostEntity*>(host::HostGetPlayerCharacter(-1));
  if (!player) return;
  if (host::HostPlayerRoutine_600F70(host::HostPlayerAimGate(player)) == 0) return;

  const host::HostVector origin = player->position();
  host::HostVector start{}, end{};
  reinterpret_cast<host::HostCameraAimRayFn>(static_cast<std::uintptr_t>(plugin::HostCameraAimRay))(
      reinterpret_cast<void*>(static_cast<std::uintptr_t>(plugin::HostCamera)), aimRange, origin, &start, &end);

  host::HostCollisionPoint hit{};
  host::HostEntity* entity = nullptr;
  if (!host::HostLineOfSight(&start, &end, &hit, &entity, 1, 1, 1, 1, 0, 0, 0, 0)) return;
  // A hit the game reports without an object has nothing to show or log.
  if (!entity) return;

  registerGlow(*entity, hit);

  host::HostVector point = hit.position, screen{};
  float sizeX = 0, sizeY = 0;
  if (!host::HostProjectToScreen(&point, &screen, &sizeX, &sizeY, 1, 1)) return;
  const VirtualPoint v = toVirtualScreen(screen.x, screen.y, sizeX, sizeY);
  drawLabel(std::to_string(entity->modelIndex), v.vx, v.vy, v.fx, v.fy);

  if (hostlink::os::key_down(hostlink::os::vk_lbutton) && !leftClickLatch) {
    writeClickLine(logFile(), *entity);
    leftClickLatch = true;
  }
}

}  // namespace kestrow
