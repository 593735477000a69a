#include "hostlink/plugin/host_references.hpp"

#include "hostlink/host/game.hpp"
#include "hostlink/plugin/host_version.hpp"

namespace plugin {

std::uint32_t HostCamera = 0;
std::uint32_t HostCameraAimRay = 0;

namespace {

// C++ orders static initialisation only within one translation unit; this file sits in a static
// library and would otherwise be initialised after the plugin's own statics. A priority runs it
// before every default-priority initialiser of the DLL (the standard library's own statics use
// the reserved priorities below 101, so they still come first).
struct ResolveReferences {
  ResolveReferences() {
    HostCamera = select_host_address({{1001, host::object::camera}, {1002, host::object::camera}});
    HostCameraAimRay =
        select_host_address({{1001, host::object::cameraAimRay}, {1002, host::object::cameraAimRay}});
  }
};

ResolveReferences resolve_references __attribute__((init_priority(1000)));

}  // namespace

}  // namespace plugin
