#include "bench/game_paths.hpp"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "hostlink/host/game.hpp"
#include "hostlink/injector/hooking.hpp"
#include "hostlink/plugin/game_events.hpp"
#include "kestrow/aim.hpp"
#include "kestrow/collector.hpp"
#include "kestrow/state.hpp"
#include "mapcoords/map_readout.hpp"
#include "mapcoords/named_hook_registry.hpp"
#include "standin/game.hpp"
#include "standin/routines.hpp"

extern "C" void standin_enter(std::uint32_t site, std::uint32_t ecx, void* out);
extern "C" void standin_site_return();

namespace bench {
namespace {

// Call sites of the bench's own in the game image: the game's calls as they are before any
// plugin patches them, and event sites for handler counts that the game's three events cannot
// show side by side.
constexpr std::uint32_t event_plain = 0xA40000;      // CALL of the routine at 0x53C077's target
constexpr std::uint32_t event_plain_293 = 0xA40010;  // CALL of the routine at 0x53E293's target
constexpr std::uint32_t event_one = 0xA40020;
constexpr std::uint32_t event_two = 0xA40030;
constexpr std::uint32_t hook_one = 0xA40040;
constexpr std::uint32_t hook_two = 0xA40050;
constexpr std::uint32_t event_lambda = 0xA40060;
constexpr std::uint32_t draw_plain = 0xA40100;  // a copy of the object-drawing code at 0x535FC3
constexpr std::uint32_t map_plain = 0xA40200;

standin::Game* game = nullptr;
std::uint32_t registers[8];
std::vector<standin::EntityRecord*> objects;
standin::EntityRecord* object = nullptr;  // one whose model asks for no extra routine
int label_batch = 1;
volatile const void* sink;

std::uint32_t address_of(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

void enter(std::uint32_t site, std::uint32_t ecx) { standin_enter(site, ecx, registers); }

void write_site(std::uint32_t site, const void* routine) {
  game->image.write_call(site, routine);
  game->image.write_jump(site + 5, reinterpret_cast<const void*>(&standin_site_return));
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "bench: %s\n", what.c_str());
  std::exit(2);
}

// Runs a site once the way the stand-in's tests do, with the calling rules checked.
void check_site(std::uint32_t site, std::uint32_t ecx) {
  const standin::SiteResult result = game->run_site(site, ecx);
  for (const std::string& violation : result.violations) {
    char where[32];
    std::snprintf(where, sizeof where, "site 0x%X: ", site);
    fail(where + violation);
  }
}

__attribute__((noinline)) void noop_first() { asm volatile(""); }
__attribute__((noinline)) void noop_second() { asm volatile("nop"); }

template <std::uint32_t Site>
plugin::GameSiteEvent<Site>& event() {
  static plugin::GameSiteEvent<Site> e;
  return e;
}

template <std::uint32_t Site>
void hook_passing_on(int count) {
  using Hooker = injector::function_hooker<injector::scoped_call, Site, void*()>;
  for (int i = 0; i < count; ++i) {
    Hooker hooker;
    hooker.attach([](const std::function<void*()>& next) { return next(); });
    injector::keep_hooker(hooker);
  }
}

std::uint32_t menu() { return address_of(&game->menu); }

void frame_with(std::uint32_t aim_site, std::uint32_t draw_site, std::uint32_t labels_site) {
  enter(aim_site, 0);
  for (standin::EntityRecord* e : objects) enter(draw_site, address_of(e));
  enter(labels_site, 0);
}

// ---- the operations ----

void op_event_plain() { enter(event_plain, 0); }
void op_event_one() { enter(event_one, 0); }
void op_event_two() { enter(event_two, 0); }
void op_event_lambda() { enter(event_lambda, 0); }
void op_hook_one() { enter(hook_one, 0); }
void op_hook_two() { enter(hook_two, 0); }
void op_draw_plain() { enter(draw_plain, address_of(object)); }
void op_draw_collect() { enter(host::site::collectorNop1, address_of(object)); }
void op_model_info() { sink = host::HostGetModelInfo(object->model); }
void op_collect_object() { kestrow::collectObject(reinterpret_cast<host::HostEntity*>(object)); }
void op_labels() { kestrow::processRenderedObjects(); }
void op_map_plain() { enter(map_plain, menu()); }
void op_map_readout() { enter(host::site::mapPagePrint, menu()); }
void op_frame_plain() { frame_with(event_plain, draw_plain, event_plain_293); }
void op_frame() { frame_with(host::site::event53C077, host::site::collectorNop1, host::site::event53E293); }

void overlay_on() { kestrow::enabled = true; }
void overlay_off() {
  kestrow::enabled = false;
  kestrow::renderedObjects().clear();
}
void empty_list() { kestrow::renderedObjects().clear(); }
void collect_batch() {
  kestrow::renderedObjects().clear();
  for (int i = 0; i < label_batch; ++i)
    kestrow::collectObject(reinterpret_cast<host::HostEntity*>(objects[i % objects.size()]));
}

void place_objects(int count) {
  standin::World& world = game->world;
  for (int i = 0; i < count; ++i) {
    const std::uint16_t model = static_cast<std::uint16_t>(400 + i % 200);
    // Spread over the view (y from 5 to 105 ahead); every third one carries a matrix.
    const standin::Vec3 placement{static_cast<float>(i % 41 - 20), 5.0f + static_cast<float>(i % 101),
                                  static_cast<float>(i % 7 - 3)};
    const standin::Vec3 moved{placement.x + 0.5f, placement.y, placement.z + 1.0f};
    objects.push_back(&world.place("o" + std::to_string(i), model, placement, i % 3 == 0 ? &moved : nullptr));
    // A quarter of the models ask the game for its extra routine on the object.
    world.model_info(model).bytes[13] = model % 4 == 0 ? 1 : 0;
  }
  for (standin::EntityRecord* e : objects)
    if (world.model_info(e->model).bytes[13] == 0) {
      object = e;
      break;
    }
  world.aim = standin::AimKind::entity;
  world.aim_entity = "o1";
  world.aim_point = standin::position_of(*objects.at(1));
}

// The game runs before any plugin code loads, as it does for the plugins: hostlink resolves its
// load-time references in a static initialiser of priority 1000, against the started game.
struct StartGame {
  StartGame() {
    game = new standin::Game;  // never destroyed: the kept hooks write into its image at exit
    std::string error;
    if (!game->start(error)) fail(error);
    game->set_build(1001);
    game->trace.set_recording(false);
  }
};

StartGame start_game __attribute__((init_priority(500)));

}  // namespace

const std::vector<Path>& set_up_paths(int frame_objects, int batch) {
  static std::vector<Path> paths;
  if (!paths.empty()) return paths;
  if (frame_objects < 2 || batch < 1) fail("need at least 2 objects and a batch of 1");
  label_batch = batch;

  game->menu.map_x = -1234.4f;
  game->menu.map_y = 567.6f;
  place_objects(frame_objects);

  write_site(event_plain, reinterpret_cast<const void*>(&standin::event_routine_53C077));
  write_site(event_plain_293, reinterpret_cast<const void*>(&standin::event_routine_53E293));
  for (std::uint32_t site : {event_one, event_two, event_lambda, hook_one, hook_two})
    write_site(site, reinterpret_cast<const void*>(&standin::event_routine_53C077));
  const std::vector<std::uint8_t> draw_code = game->image.read(host::site::collectorNop1, 10);
  game->image.write(draw_plain, draw_code.data(), draw_code.size());
  write_site(draw_plain + 10, reinterpret_cast<const void*>(&standin::draw_entity_routine));
  write_site(map_plain, reinterpret_cast<const void*>(&standin::map_page_routine));

  // What the plugins' static objects do at load: kestrow's three handlers, mapcoords' install.
  plugin::event53C077().AddHandler(plugin::event53C077().postCall, kestrow::processAim);
  plugin::event53E293().AddHandler(plugin::event53E293().postCall, kestrow::processRenderedObjects);
  plugin::event5BF85B().AddHandler(plugin::event5BF85B().postCall, kestrow::installCollector);
  new mapcoords::named_hook_install(host::site::mapPagePrint, reinterpret_cast<std::uintptr_t>(&mapcoords::map_readout),
                                    "PrintMap", false);
  check_site(host::site::event5BF85B, 0);  // the game passes 0x5BF85B: the collector goes in
  if (injector::peek_call_target(host::site::collectorCall) != reinterpret_cast<std::uintptr_t>(&kestrow::collectObject))
    fail("the collector was not installed");

  event<event_one>().AddHandler(event<event_one>().postCall, noop_first);
  event<event_two>().AddHandler(event<event_two>().postCall, noop_first);
  event<event_two>().AddHandler(event<event_two>().postCall, noop_second);
  event<event_lambda>().AddHandler(event<event_lambda>().postCall, [] { asm volatile(""); });
  hook_passing_on<hook_one>(1);
  hook_passing_on<hook_two>(2);
  for (std::uint32_t site : {event_plain, event_plain_293, event_one, event_two, event_lambda, hook_one, hook_two})
    check_site(site, 0);
  for (std::uint32_t site : {draw_plain, host::site::collectorNop1}) check_site(site, address_of(object));
  for (std::uint32_t site : {map_plain, host::site::mapPagePrint}) check_site(site, menu());
  const auto routine = reinterpret_cast<std::uintptr_t>(&standin::event_routine_53C077);
  for (std::uint32_t site : {host::site::event53C077, event_one, event_two, event_lambda, hook_one, hook_two})
    if (injector::peek_call_target(site) == routine) fail("a call site was not patched");

  const std::string event_site = "event site, unpatched";
  const std::string draw_site = "object-drawing call, unpatched";
  const std::string map_site = "map-page call, unpatched";
  const std::string frame_plain = "frame, unpatched";
  const std::string n = std::to_string(frame_objects);
  paths = {
      {event_site, event_site, op_event_plain},
      {"event site, 1 no-op postCall handler", event_site, op_event_one},
      {"event site, 2 no-op postCall handlers", event_site, op_event_two},
      {"event site, 1 no-op lambda postCall handler", event_site, op_event_lambda},
      {"call-site hook manager, 1 hook", event_site, op_hook_one},
      {"call-site hook manager, 2 hooks", event_site, op_hook_two},
      {draw_site, draw_site, op_draw_plain},
      {"object-drawing call, collectObject, overlay off", draw_site, op_draw_collect, overlay_off},
      {"object-drawing call, collectObject, overlay on", draw_site, op_draw_collect, overlay_on, empty_list, 1024},
      {"HostGetModelInfo alone", "HostGetModelInfo alone", op_model_info},
      {"collectObject alone, overlay off", "HostGetModelInfo alone", op_collect_object, overlay_off},
      {"processRenderedObjects, per object", draw_site, op_labels, overlay_on, collect_batch, 1, batch},
      {map_site, map_site, op_map_plain},
      {"map-page call, map_readout", map_site, op_map_readout},
      {frame_plain + " (" + n + " objects)", frame_plain + " (" + n + " objects)", op_frame_plain},
      {"frame, overlay off (" + n + " objects)", frame_plain + " (" + n + " objects)", op_frame, overlay_off},
      {"frame, overlay on (" + n + " objects)", frame_plain + " (" + n + " objects)", op_frame, overlay_on},
  };
  return paths;
}

}  // namespace bench
