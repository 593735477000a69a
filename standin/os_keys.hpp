#pragma once
// Virtual-key codes of the mouse buttons the sessions press.
namespace standin {
constexpr int vk_lbutton = 0x01;
constexpr int vk_mbutton = 0x04;
}  // namespace standin
