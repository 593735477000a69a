#pragma once
// The stand-in's --render: each frame a session plays becomes DIR/<session>-<NNN>.png.
#include <iosfwd>
#include <memory>
#include <string>

#include "standin/frame_renderer.hpp"
#include "standin/glyphs.hpp"
#include "standin/session.hpp"

namespace standin {

class FrameFiles {
 public:
  // Warns on `log` when the font cannot be read: the built-in characters draw the text then.
  FrameFiles(const std::string& dir, const std::string& font_file, std::ostream& log);
  bool ready(std::string& error);  // the folder exists or was made
  void write(const FrameCalls& frame);
  int written() const { return written_; }
  int failed() const { return failed_; }

 private:
  std::string dir_;
  std::ostream& log_;
  Glyphs glyphs_;
  std::unique_ptr<FrameRenderer> renderer_;
  int written_ = 0, failed_ = 0;
};

// The screen size the game holds in its variables.
FrameRenderer::Scene scene_of(const Game& game, bool map_page);

}  // namespace standin
