#pragma once
// Chief header of the injector: memory access, restorable patches and call-site hooks.
#include "hostlink/injector/memory.hpp"
#include "hostlink/injector/scoped.hpp"
#include "hostlink/injector/call_site_hooks.hpp"
