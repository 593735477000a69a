#include "standin/image.hpp"

#include <cstring>

namespace standin {

GameImage::~GameImage() {
  if (acquired_) release_image_range();
}

bool GameImage::acquire(std::string& error) {
  if (!acquire_image_range(error)) return false;
  acquired_ = true;
  std::memset(reinterpret_cast<void*>(image_begin), 0xCC, image_end - image_begin);
  return true;
}

void GameImage::mark_data(addr at, std::size_t size) {
  for (addr p = at & ~(page - 1); p < at + size; p += page) data_pages_.insert(p);
  if (sealed_) seal();
}

Protection GameImage::protection_of(addr page_start) const {
  return data_pages_.count(page_start) ? Protection::read_write : Protection::read_execute;
}

void GameImage::seal() {
  sealed_ = true;
  for (addr p = image_begin; p < end_; p += page) set_protection(p, page, protection_of(p));
}

void GameImage::write(addr at, const void* bytes, std::size_t n) {
  const addr first = at & ~(page - 1);
  const addr last = (at + n - 1) & ~(page - 1);
  if (sealed_) set_protection(first, last - first + page, Protection::read_write_execute);
  std::memcpy(reinterpret_cast<void*>(at), bytes, n);
  if (sealed_)
    for (addr p = first; p <= last; p += page) set_protection(p, page, protection_of(p));
}

void GameImage::write_call(addr at, const void* target) {
  std::uint8_t code[5] = {0xE8};
  const std::uint32_t rel = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(target)) - (at + 5);
  std::memcpy(code + 1, &rel, 4);
  write(at, code, 5);
}

void GameImage::write_jump(addr at, const void* target) {
  std::uint8_t code[5] = {0xE9};
  const std::uint32_t rel = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(target)) - (at + 5);
  std::memcpy(code + 1, &rel, 4);
  write(at, code, 5);
}

bool GameImage::end_at(addr end, std::string& error) {
  if (end % page != 0 || end <= image_begin || end > end_) {
    error = "the image can only end on a page boundary inside what is mapped";
    return false;
  }
  if (!release_image_tail(end, error)) return false;
  end_ = end;
  return true;
}

std::vector<std::uint8_t> GameImage::read(addr at, std::size_t n) const {
  std::vector<std::uint8_t> out(n);
  std::memcpy(out.data(), reinterpret_cast<const void*>(at), n);
  return out;
}

}  // namespace standin
