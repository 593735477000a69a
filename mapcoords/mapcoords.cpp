// The plugin's static objects, in their order of construction: the empty registry, then the
// one install over the game's map-page call. Unload destroys them in reverse.
#include "mapcoords/map_readout.hpp"
#include "mapcoords/named_hook_registry.hpp"

namespace {

mapcoords::named_hook_registry& hooks = mapcoords::registry();

mapcoords::named_hook_install printMap(host::site::mapPagePrint,
                                       reinterpret_cast<std::uintptr_t>(&mapcoords::map_readout), "PrintMap",
                                       false);

}  // namespace
