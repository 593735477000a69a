#include "kestrow/collector.hpp"

#include <string>

#include "hostlink/injector/hooking.hpp"
#include "hostlink/os/os.hpp"
#include "hostlink/plugin/host_version.hpp"
#include "kestrow/labels.hpp"
#include "kestrow/log_lines.hpp"
#include "kestrow/state.hpp"

namespace kestrow {
namespace {

// The game's bytes under the collector patch, kept from the first install and put back at
// unload, so that no call leads into a plugin that is gone.
struct CollectorPatch {
  injector::scoped_basic<5> nop1, nop2, call;
};

CollectorPatch& collectorPatch() {
  static CollectorPatch patch;
  return patch;
}

}  // namespace

void installCollector() {
  const std::uintptr_t callSite = plugin::rebase(host::site::collectorCall);
  CollectorPatch& patch = collectorPatch();
  if (!patch.call.saved()) {
    patch.nop1.save(host::site::collectorNop1, 2, true);
    patch.nop2.save(host::site::collectorNop2, 2, true);
    patch.call.save(callSite, 5, true);
  }
  injector::make_nop(host::site::collectorNop1, 2);
  injector::make_nop(host::site::collectorNop2, 2);
  injector::make_call(callSite, reinterpret_cast<std::uintptr_t>(&collectObject));
}

void HOST_THISCALL HOST_ENTRY collectObject(host::HostEntity* entity) {
  if (enabled) renderedObjects().push_back(entity);
  const host::HostModelInfoRecord* info = host::HostGetModelInfo(entity->modelIndex);
  if (info->drawFlag != 0) host::HostEntityRoutine_6FC7A0(entity);
}

void processRenderedObjects() {
  std::list<host::HostEntity*>& objects = renderedObjects();
  if (!enabled) {
    // Nothing collected may outlive the frame the game handed it over in.
    objects.clear();
    return;
  }
  bool logAll = false;
  if (hostlink::os::key_down(hostlink::os::vk_mbutton) && !middleClickLatch) {
    middleClickLatch = true;
    writeLogAllStart(logFile());
    logAll = true;
  }
  for (host::HostEntity* entity : objects) {
    host::HostVector position = entity->position(), screen{};
    float sizeX = 0, sizeY = 0;
    if (!host::HostProjectToScreen(&position, &screen, &sizeX, &sizeY, 1, 1)) continue;
    const VirtualPoint v = toVirtualScreen(screen.x, screen.y, sizeX, sizeY);
    drawLabel(std::to_string(entity->modelIndex), v.vx, v.vy, v.fx, v.fy);
    if (logAll) writeLogAllObject(logFile(), *entity);
  }
  if (logAll) writeLogAllEnd(logFile());
  objects.clear();
}

}  // namespace kestrow
