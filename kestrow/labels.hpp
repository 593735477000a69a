#pragma once
// Model-number labels on the game's screen, sized by the object's apparent size.
#include <string>

namespace kestrow {

// Positions and size factors on the 640 x 448 virtual screen.
struct VirtualPoint {
  float vx, vy;  // position
  float fx, fy;  // horizontal and vertical size factors
};

// From what the game's projection reported (pixel position, on-screen sizes).
VirtualPoint toVirtualScreen(float sx, float sy, float hx, float hy);

// Draws `text` at (vx, vy) with the size factors, or nothing when the label is too small or the
// numbers are unusable (no screen size, or a value that is not finite).
void drawLabel(std::string text, float vx, float vy, float fx, float fy);

}  // namespace kestrow
