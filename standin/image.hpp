#pragma once
// The game's image in memory: 0x400000-0xC21000, written by the stand-in, code pages
// read-execute and data pages read-write once sealed, as in the real game.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "standin/layout.hpp"

namespace standin {

enum class Protection { read_execute, read_write, read_write_execute };

// Platform side (image_windows.cpp / image_linux.cpp).
bool acquire_image_range(std::string& error);  // makes the whole range present and writable
void release_image_range();
void set_protection(addr begin, std::size_t size, Protection p);
bool release_image_tail(addr from, std::string& error);  // unmaps [from, image_end)

class GameImage {
 public:
  static constexpr std::uint32_t page = 0x1000;

  GameImage() = default;
  GameImage(const GameImage&) = delete;
  GameImage& operator=(const GameImage&) = delete;
  ~GameImage();

  bool acquire(std::string& error);
  void mark_data(addr at, std::size_t size);  // pages that stay read-write
  void seal();                                  // code read-execute, data read-write

  // Writes regardless of protection, then puts each page's protection back.
  void write(addr at, const void* bytes, std::size_t n);
  void write_u8(addr at, std::uint8_t v) { write(at, &v, 1); }
  void write_u32(addr at, std::uint32_t v) { write(at, &v, 4); }
  void write_call(addr at, const void* target);  // E8 rel32
  void write_jump(addr at, const void* target);  // E9 rel32

  std::vector<std::uint8_t> read(addr at, std::size_t n) const;

  // A smaller executable: the image ends at `end` (a page boundary) and nothing lies beyond.
  bool end_at(addr end, std::string& error);
  addr end() const { return end_; }
  bool holds(addr at, std::size_t n) const { return at >= image_begin && at + n <= end_; }
  bool is_data(addr at) const { return data_pages_.count(at & ~(page - 1)) != 0; }

 private:
  Protection protection_of(addr page_start) const;

  bool acquired_ = false;
  bool sealed_ = false;
  addr end_ = image_end;
  std::set<addr> data_pages_;
};

}  // namespace standin
