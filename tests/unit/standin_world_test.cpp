// The stand-in's world routines, reached at their game addresses in the game's calling forms,
// the object-drawing code at 0x535FC3, and the session commands that drive them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "standin/game.hpp"
#include "standin/plugins.hpp"
#include "standin/session.hpp"

struct GameCallResult {
  std::uint32_t eax;
  std::int32_t popped;  // bytes the routine removed from the stack
  std::uint32_t ebx, esi, edi, ebp;
};

extern "C" void game_call(std::uint32_t fn, std::uint32_t ecx, const std::uint32_t* args, std::uint32_t n,
                          GameCallResult* out);

namespace {

using standin::EntityRecord;
using standin::Vec3;

std::uint32_t u32(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

std::uint32_t bits(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, 4);
  return b;
}

class World : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(game.start(error)) << error;
  }

  // Calls the routine at `fn`; fails the test when it broke the calling rules or did not
  // remove exactly `pops` bytes of arguments.
  std::uint32_t call(std::uint32_t fn, std::uint32_t ecx, std::vector<std::uint32_t> args, std::int32_t pops) {
    GameCallResult r{};
    game_call(fn, ecx, args.data(), static_cast<std::uint32_t>(args.size()), &r);
    EXPECT_EQ(r.popped, pops) << std::hex << "routine 0x" << fn;
    EXPECT_EQ(r.ebx, 0xB0B0B0B0u);
    EXPECT_EQ(r.esi, 0x51515151u);
    EXPECT_EQ(r.edi, 0xD1D1D1D1u);
    EXPECT_EQ(r.ebp, 0xBEBEBEBEu);
    return r.eax;
  }

  std::vector<std::string> trace_lines() {
    std::vector<std::string> out;
    for (const standin::Call& c : game.trace.take()) out.push_back(c.line());
    return out;
  }

  standin::Game game;
};

TEST_F(World, PlayerAndTheRoutineOnItsObject) {
  const Vec3 matrix_position{7, 8, 9};
  game.world.place_player(Vec3{1, 2, 3}, &matrix_position);
  const std::uint32_t player = call(0x56E210, 0xECECECEC, {0xFFFFFFFF}, 0);
  ASSERT_EQ(player, u32(game.world.player()));
  const EntityRecord& record = game.world.player()->entity;
  EXPECT_EQ(standin::position_of(record).y, 8);
  const std::uint32_t data = *reinterpret_cast<const std::uint32_t*>(player + 0x47C);
  EXPECT_EQ(call(0x600F70, data, {}, 0), 1u);
  game.world.result_600F70 = 0x100;
  EXPECT_EQ(call(0x600F70, data, {}, 0), 0x100u);
  game.world.set_player(false);
  EXPECT_EQ(call(0x56E210, 0, {0xFFFFFFFF}, 0), 0u);
  EXPECT_EQ(trace_lines(), (std::vector<std::string>{"HostGetPlayerCharacter -1", "Game600F70 player+0x47C",
                                                     "Game600F70 player+0x47C", "HostGetPlayerCharacter -1"}));
}

TEST_F(World, AimRayRunsFromTheOriginAlongTheAim) {
  game.world.aim_direction = Vec3{0.5f, 1, -0.25f};
  Vec3 start{}, end{};
  call(0x514970, 0xB6F028, {bits(200), bits(1), bits(2), bits(3), u32(&start), u32(&end)}, 24);
  EXPECT_EQ(start.x, 1);
  EXPECT_EQ(start.y, 2);
  EXPECT_EQ(start.z, 3);
  EXPECT_EQ(end.x, 101);
  EXPECT_EQ(end.y, 202);
  EXPECT_EQ(end.z, -47);
  EXPECT_EQ(trace_lines(), std::vector<std::string>{"HostCameraAimRay camera 200 (1,2,3) out out"});
}

TEST_F(World, LineOfSightReportsWhatTheSessionSet) {
  EntityRecord& car = game.world.place("car", 7, Vec3{1, 2, 3}, nullptr);
  const Vec3 from{1, 2, 3}, to{1, 202, 3};
  struct Case {
    standin::AimKind kind;
    const char* entity;
    std::uint32_t al;
    EntityRecord* hit;
  };
  const Case cases[] = {
      {standin::AimKind::entity, "car", 1, &car},
      {standin::AimKind::hit_without_entity, "", 1, nullptr},
      {standin::AimKind::nothing, "", 0, reinterpret_cast<EntityRecord*>(0x1234)},
      {standin::AimKind::entity, "gone", 0, reinterpret_cast<EntityRecord*>(0x1234)},
  };
  for (const Case& c : cases) {
    game.world.aim = c.kind;
    game.world.aim_entity = c.entity;
    game.world.aim_point = Vec3{4, 50, 6};
    standin::CollisionPoint point{};
    EntityRecord* hit = reinterpret_cast<EntityRecord*>(0x1234);
    const std::uint32_t eax =
        call(0x56BA00, 0xECECECEC, {u32(&from), u32(&to), u32(&point), u32(&hit), 1, 1, 1, 1, 0, 0, 0, 0}, 0);
    EXPECT_EQ(eax, 0xABCDEF00u | c.al) << c.entity;
    EXPECT_EQ(hit, c.hit) << c.entity;
    EXPECT_EQ(point.position.y, c.al ? 50 : 0) << c.entity;
  }
  EXPECT_EQ(trace_lines().front(), "HostLineOfSight (1,2,3) (1,202,3) out out 1 1 1 1 0 0 0 0");
}

TEST_F(World, ProjectionAndOffScreenPoints) {
  game.set_screen(640, 448);
  game.world.place("car", 7, Vec3{0, 3, 0}, nullptr);
  const Vec3 matrix_position{0, 5, 0};
  game.world.place("tree", 8, Vec3{0, 1, 0}, &matrix_position);
  game.world.offscreen_entities = {"car", "tree"};
  game.world.offscreen_points = {Vec3{0, 7, 0}};
  struct Case {
    Vec3 point;
    std::uint32_t al;
    Vec3 screen;
    float size_x, size_y;
  };
  const Case cases[] = {
      {{1, 4, 2}, 1, {400, 112, 4}, 160, 112},     // 320 + (1/4)320, 224 - (2/4)224
      {{-2, 1, 0}, 1, {-320, 224, 1}, 640, 448},   // the nearest visible depth
      {{0, 0.5f, 0}, 0, {}, 0, 0},                 // behind the near limit
      {{0, 3, 0}, 0, {}, 0, 0},                    // car's placement
      {{0, 1, 0}, 1, {320, 224, 1}, 640, 448},     // tree's placement, not its position
      {{0, 5, 0}, 0, {}, 0, 0},                    // tree's matrix position
      {{0, 7, 0}, 0, {}, 0, 0},                    // a point set off screen
  };
  for (const Case& c : cases) {
    Vec3 screen{};
    float sx = 0, sy = 0;
    const std::uint32_t eax =
        call(0x70CE30, 0xECECECEC, {u32(&c.point), u32(&screen), u32(&sx), u32(&sy), 1, 1}, 0);
    EXPECT_EQ(eax, 0xABCDEF00u | c.al) << c.point.y;
    EXPECT_FLOAT_EQ(screen.x, c.screen.x) << c.point.y;
    EXPECT_FLOAT_EQ(screen.y, c.screen.y) << c.point.y;
    EXPECT_FLOAT_EQ(sx, c.size_x) << c.point.y;
    EXPECT_FLOAT_EQ(sy, c.size_y) << c.point.y;
  }
  EXPECT_EQ(trace_lines().front(), "HostProjectToScreen (1,4,2) out out out 1 1");
}

TEST_F(World, ModelInfoGlowAndTheEntityRoutine) {
  game.world.model_info(65535).bytes[13] = 1;
  const std::uint32_t a = call(0x403DA0, 0xECECECEC, {65535}, 0);
  const std::uint32_t b = call(0x403DA0, 0xECECECEC, {7}, 0);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(a)[13], 1);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(b)[13], 0);
  EXPECT_EQ(call(0x403DA0, 0xECECECEC, {65535}, 0), a);

  EntityRecord& car = game.world.place("car", 7, Vec3{}, nullptr);
  call(0x6FC7A0, u32(&car), {}, 0);

  standin::CollisionPoint point{};
  point.position = Vec3{4, 50, 6};
  call(0x6FC580, 0xECECECEC,
       {72504, 0, 255, 100, 50, 255, u32(&point), bits(1), bits(500), 0, 0, 0, 0, 0, bits(0), 0, bits(0.1f), 0,
        bits(50), 0, 0xFFFFFFFF},
       0);
  EXPECT_EQ(trace_lines(),
            (std::vector<std::string>{
                "HostGetModelInfo 65535", "HostGetModelInfo 7", "HostGetModelInfo 65535", "Game6FC7A0 car",
                "HostRegisterGlow 72504 null 255 100 50 255 (4,50,6) 1 500 0 0 0 0 0 0 0 0.1 0 50 0 -1"}));
}

TEST_F(World, CollectorCodeRunsPerObjectAndChecksTheCallingRules) {
  EntityRecord& car = game.world.place("car", 7, Vec3{}, nullptr);
  EntityRecord& tree = game.world.place("tree", 8, Vec3{}, nullptr);
  const std::vector<std::uint8_t> code = game.image.read(0x535FC3, 10);
  EXPECT_EQ(code, (std::vector<std::uint8_t>{0x8B, 0xC9, 0x8B, 0xC9, 0x8B, 0xC9, 0x8B, 0xC9, 0x8B, 0xC9}));
  EXPECT_EQ(game.image.read(0x535FCD, 1)[0], 0xE8);

  // As a plugin leaves it: NOPs in the two slots; the code still reaches the call.
  const std::uint8_t nops[2] = {0x90, 0x90};
  game.image.write(0x535FC3, nops, 2);
  game.image.write(0x535FC9, nops, 2);
  for (const EntityRecord* e : {&tree, &car, &tree}) EXPECT_TRUE(game.run_collector(e).violations.empty());
  EXPECT_EQ(trace_lines(), (std::vector<std::string>{"GameDrawEntity tree", "GameDrawEntity car", "GameDrawEntity tree"}));

  // A routine that removes a stack argument the call never pushed is caught.
  const std::uint8_t ret4[3] = {0xC2, 0x04, 0x00};
  game.image.write(0x535F00, ret4, 3);
  game.image.write_call(0x535FCD, reinterpret_cast<const void*>(0x535F00));
  EXPECT_FALSE(game.run_collector(&car).violations.empty());
}

TEST_F(World, RemovedObjectsKeepTheirMemoryAndShowAsGone) {
  EntityRecord& car = game.world.place("car", 7, Vec3{1, 2, 3}, nullptr);
  EXPECT_EQ(&game.world.place("car", 9, Vec3{4, 5, 6}, nullptr), &car);  // moving keeps the record
  EXPECT_EQ(car.model, 9);
  ASSERT_TRUE(game.world.remove("car"));
  EXPECT_EQ(game.world.find("car"), nullptr);
  EXPECT_EQ(car.model, 0xDEAD);
  EXPECT_EQ(game.name_of(&car), "~car");
}

// Sessions: the world commands with their game calls, and the log expectations per build.
class WorldSession : public World {
 protected:
  void SetUp() override {
    World::SetUp();
    dir = std::filesystem::temp_directory_path() / ("standin_world_test_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    old_dir = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(old_dir);
    std::filesystem::remove_all(dir);
  }
  int play(const std::string& text) {
    standin::Plugins plugins(".");
    std::ostringstream out;
    const int failures = standin::play_session_text(text, (dir / "t.session").string(), game, plugins, {false, {}}, out);
    messages = out.str();
    return failures;
  }
  static void write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::filesystem::path dir, old_dir;
  std::string messages;
};

TEST_F(WorldSession, ObjectsDrawAndFrameInOrder) {
  const std::string session =
      "entity car 7 1 2 3\n"
      "entity tree 65535 4 5 6 matrix 7 8 9\n"
      "draw tree car tree\n"
      "| GameDrawEntity tree\n| GameDrawEntity car\n| GameDrawEntity tree\n"
      "frame\n"
      "| GameRoutine 0x53C077\n| GameDrawEntity car\n| GameDrawEntity tree\n| GameRoutine 0x53E293\n";
  EXPECT_EQ(play(session), 0) << messages;
  EXPECT_EQ(standin::position_of(*game.world.find("tree")).z, 9);
  EXPECT_EQ(play("draw car\n| GameDrawEntity tree\n"), 1) << messages;
}

TEST_F(WorldSession, LogExpectationsHoldTheBuildsLineEnds) {
  write(dir / "expected.log", "v1.1\nEnabled: 1\n");
  const std::string checks = "expect log-lines 2\nexpect log-last Enabled: 1\nexpect logfile expected.log\n";
  struct Case {
    const char* log;
    int failures;
  };
  const Case cases[] = {
      {"v1.1\nEnabled: 1\n", 0},
      {"v1.1\r\nEnabled: 1\r\n", 3},  // the i386 build writes LF only
      {"v1.1\nEnabled: 1", 3},         // an open last line
      {"v1.1\nEnabled: 0\n", 2},
  };
  for (const Case& c : cases) {
    write(dir / "kestrow.log", c.log);
    EXPECT_EQ(play(checks), c.failures) << c.log << messages;
  }
  EXPECT_EQ(play("expect no-log\n"), 1);
  EXPECT_EQ(play("workdir\nexpect no-log\nfolder kestrow.log\nexpect no-log\n"), 0) << messages;
  EXPECT_TRUE(std::filesystem::is_directory(dir / "t.work" / "kestrow.log"));
  EXPECT_EQ(std::filesystem::current_path(), dir);
}

}  // namespace
