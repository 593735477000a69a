#pragma once
// The paths the game runs through the plugins, each as one operation on the stand-in game with
// the plugin code linked in, next to the game's own unpatched call it is compared with.
#include <string>
#include <vector>

#include "bench/instruction_counter.hpp"

namespace bench {

struct Path {
  std::string name;
  std::string baseline;         // the path it is compared with (the game's unpatched call)
  Operation op;                 // one operation
  Operation begin = nullptr;    // once, before the path is measured
  Operation prepare = nullptr;  // outside the measurement, before every prepare_every-th operation
  int prepare_every = 1;
  int objects = 1;              // objects one operation handles; figures are per object
};

// Starts the stand-in game (build 1001, recording off), places `frame_objects` objects, loads
// the plugin code as the plugins' static objects do and builds the paths. `batch` objects are
// labelled per operation of the per-object labelling path. Exits with a message on failure.
const std::vector<Path>& set_up_paths(int frame_objects, int batch);

}  // namespace bench
