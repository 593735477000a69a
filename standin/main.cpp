// The stand-in game: plays scripted sessions with plugins loaded as the game's loader does.
//   standin [--plugins DIR] [--quiet] [--render DIR [--font FILE]] SESSION...
// --render writes each frame ('frame' or 'map' command) as DIR/<session>-<NNN>.png.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "standin/frame_files.hpp"
#include "standin/game.hpp"
#include "standin/plugins.hpp"
#include "standin/session.hpp"

int main(int argc, char** argv) {
  std::string plugin_dir = ".";
  standin::SessionOptions options;
  std::vector<std::string> sessions;
  std::string render_dir, font_file = standin::default_font_file();
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--plugins") && i + 1 < argc) plugin_dir = argv[++i];
    else if (!std::strcmp(argv[i], "--quiet")) options.echo = false;
    else if (!std::strcmp(argv[i], "--render") && i + 1 < argc) render_dir = argv[++i];
    else if (!std::strcmp(argv[i], "--font") && i + 1 < argc) font_file = argv[++i];
    else sessions.push_back(argv[i]);
  }
  // Sessions may change into a working directory of their own.
  std::error_code ec;
  const std::filesystem::path absolute_dir = std::filesystem::absolute(plugin_dir, ec);
  if (!ec) plugin_dir = absolute_dir.string();
  if (sessions.empty()) {
    std::cerr << "usage: standin [--plugins DIR] [--quiet] [--render DIR [--font FILE]] SESSION...\n";
    return 2;
  }
  std::unique_ptr<standin::FrameFiles> pictures;
  if (!render_dir.empty()) {
    pictures.reset(new standin::FrameFiles(render_dir, font_file, std::cerr));
    std::string error;
    if (!pictures->ready(error)) {
      std::cerr << "standin: " << error << "\n";
      return 2;
    }
    options.on_frame = [&pictures](const standin::FrameCalls& frame) { pictures->write(frame); };
  }
  int failed = 0;
  for (const std::string& session : sessions) {
    // Each session plays in a fresh game; plugins unload before the game goes.
    standin::Game game;
    std::string error;
    if (!game.start(error)) {
      std::cerr << "standin: " << error << "\n";
      return 2;
    }
    int failures;
    {
      standin::Plugins plugins(plugin_dir);
      failures = standin::play_session(session, game, plugins, options, std::cout);
    }
    if (failures < 0) return 2;
    if (failures > 0) {
      std::cout << session << ": " << failures << " expectation(s) failed\n";
      ++failed;
    }
  }
  std::cout.flush();
  return failed ? 1 : 0;
}
