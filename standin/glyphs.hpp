#pragma once
// Character shapes for the renderer: a TrueType font file through stb_truetype, or, when the
// file cannot be read, stb_easy_font's built-in stroke characters. Either way a character fills
// the cell it is given, so the text model's cell sizes hold whichever draws.
#include <memory>
#include <string>
#include <vector>

namespace standin {

// How much of each pixel a text covers (0..1), over a window of the picture.
struct Coverage {
  Coverage(int left, int top, int width, int height);
  float at(int x, int y) const;  // picture coordinates; 0 outside the window
  void add(int x, int y, float v);  // keeps the larger
  Coverage grown(int radius) const;  // each pixel takes the largest value within `radius`
  int left, top, width, height;
  std::vector<float> values;
};

class Glyphs {
 public:
  // An empty path or an unreadable file gives the built-in characters; error() then says why.
  explicit Glyphs(const std::string& font_file);
  ~Glyphs();
  Glyphs(const Glyphs&) = delete;
  Glyphs& operator=(const Glyphs&) = delete;

  bool has_font() const { return font_ != nullptr; }
  const std::string& error() const { return error_; }

  // Adds character `c` drawn into the cell whose top-left corner is (left, top), w x h pixels.
  void draw(char c, float left, float top, float w, float h, Coverage& into) const;

 private:
  struct Font;
  void draw_builtin(char c, float left, float top, float w, float h, Coverage& into) const;
  std::unique_ptr<Font> font_;
  std::string error_;
};

// The font the stand-in draws with unless told otherwise.
const char* default_font_file();

}  // namespace standin
