#include "standin/frame_files.hpp"

#include <cstring>
#include <filesystem>
#include <ostream>

namespace standin {

FrameRenderer::Scene scene_of(const Game& game, bool map_page) {
  FrameRenderer::Scene scene;
  std::int32_t w = 0, h = 0;
  const std::vector<std::uint8_t> width = game.image.read(var_screen_width, 4);
  const std::vector<std::uint8_t> height = game.image.read(var_screen_height, 4);
  std::memcpy(&w, width.data(), 4);
  std::memcpy(&h, height.data(), 4);
  // A picture needs a size; a nonsensical screen still gets a small one.
  scene.width = w > 0 && w <= 8192 ? w : 64;
  scene.height = h > 0 && h <= 8192 ? h : 64;
  scene.map_page = map_page;
  scene.world = &game.world;
  return scene;
}

FrameFiles::FrameFiles(const std::string& dir, const std::string& font_file, std::ostream& log)
    : log_(log), glyphs_(font_file) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
  dir_ = ec ? dir : absolute.string();  // sessions may change directory
  if (!glyphs_.has_font())
    log_ << "standin: " << glyphs_.error() << "; text in the pictures is drawn with built-in characters\n";
}

bool FrameFiles::ready(std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(dir_, ec);
  if (ec) error = "cannot make " + dir_ + ": " + ec.message();
  return !ec;
}

void FrameFiles::write(const FrameCalls& frame) {
  // A session's text settings last from frame to frame; a new session starts afresh.
  if (frame.number == 1 || !renderer_) renderer_.reset(new FrameRenderer(glyphs_));
  const Picture picture = renderer_->render(scene_of(frame.game, frame.map_page), frame.calls);
  const std::string path = frame_file(dir_, frame.session, frame.number);
  if (picture.write_png(path)) {
    ++written_;
  } else {
    ++failed_;
    log_ << "standin: cannot write " << path << "\n";
  }
}

}  // namespace standin
