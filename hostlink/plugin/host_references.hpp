#pragma once
// Load-time references: the rebased run-time addresses of game items for the running build,
// settled while the plugin loads and before any of the plugin's own statics are built.
#include <cstdint>

namespace plugin {

extern std::uint32_t HostCamera;        // the camera object itself
extern std::uint32_t HostCameraAimRay;  // the camera's aim-ray member routine

}  // namespace plugin
