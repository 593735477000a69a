#pragma once
// Turns the game calls of one frame into a picture of the game screen: the game's own scene
// (a backdrop, a marker for each placed object, the aim's hit point) and over it what the plugins
// drew through the game (glows, then text in the order printed). The text model is described in
// README.md ("How the stand-in draws a frame").
#include <string>
#include <vector>

#include "standin/glyphs.hpp"
#include "standin/picture.hpp"
#include "standin/trace.hpp"
#include "standin/world.hpp"

namespace standin {

struct Colour4 {
  std::uint8_t r = 255, g = 255, b = 255, a = 255;
};

// The game's text settings as the renderer models them; they last from call to call and frame
// to frame, as the game's do.
struct TextState {
  float scale_x = 1, scale_y = 1;   // HostSetTextScale
  Colour4 colour;                   // HostSetTextColour
  bool edge = false;                // 0x719590: dark edge around the characters
  Colour4 edge_colour{0, 0, 0, 255};  // 0x719510
  float wrap_width = 0;             // 0x7194E0: pixels; 0 or less, no wrapping
  bool centre = false;              // 0x719600: centred on the print x
  bool right = false;               // 0x7195C0: ends at the print x (centring wins)
  bool box = false;                 // 0x719610: a dark box behind each line
  int font = 0;                     // 0x719490: kept; the model has one font
  bool proportional = false;        // 0x7195B0: kept; the model draws fixed cells
};

// Where one line of printed text goes.
struct TextLine {
  std::string text;
  float left, top, width, height;
};

class FrameRenderer {
 public:
  // A character cell at text scale 1.0, in pixels.
  static constexpr float cell_width = 16;
  static constexpr float cell_height = 32;

  explicit FrameRenderer(const Glyphs& glyphs) : glyphs_(glyphs) {}

  struct Scene {
    int width = 640, height = 448;
    bool map_page = false;         // the map page shows no world
    const World* world = nullptr;  // placed objects and the aim; none, none drawn
  };

  Picture render(const Scene& scene, const std::vector<Call>& calls);
  const TextState& text_state() const { return text_; }

  // The lines a print at (x, y) makes in a text state: wrapped, anchored, one cell row each.
  static std::vector<TextLine> lay_out(const TextState& state, float x, float y, const std::string& text);
  // The dark edge's width in pixels for a vertical text scale.
  static int edge_width(float scale_y);
  // Glow radius in pixels: its size (a world length) at the point's depth.
  static float glow_radius(float size, float depth, int width);
  static Rgb backdrop(const Scene& scene, int x, int y);

  static constexpr Rgb object_marker{0, 200, 255};
  static constexpr Rgb aim_marker{120, 255, 80};

 private:
  void apply(const Scene& scene, const Call& call, Picture& picture);
  void print(Picture& picture, float x, float y, const std::string& text) const;
  static void glow(Picture& picture, float sx, float sy, float radius, Rgb colour, float alpha);

  const Glyphs& glyphs_;
  TextState text_;
};

// The picture files of a session: DIR/<session>-<NNN>.png, frames counted from 1.
std::string frame_file(const std::string& dir, const std::string& session_path, int frame);

}  // namespace standin
