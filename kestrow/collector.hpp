#pragma once
#include "hostlink/host/game.hpp"

namespace kestrow {

// After the game's routine at 0x5BF85B: sends every object the game draws through collectObject.
void installCollector();

// Reached from the game's drawing call at 0x535FCD, in the form of the routine it displaces.
void HOST_THISCALL HOST_ENTRY collectObject(host::HostEntity* entity);

// After the game's routine at 0x53E293: labels the collected objects, logs them all once per
// middle-button press, and empties the list.
void processRenderedObjects();

}  // namespace kestrow
