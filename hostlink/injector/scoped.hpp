#pragma once
// Restorable patches: they keep the bytes they replace and put them back on restore or destruction.
#include <cstddef>
#include <cstdint>

#include "hostlink/injector/memory.hpp"

namespace injector {

class scoped_base {
 public:
  virtual ~scoped_base() = default;
  virtual void restore() = 0;
};

template <std::size_t bufsize>
class scoped_basic : public scoped_base {
 public:
  scoped_basic() = default;
  scoped_basic(const scoped_basic&) = delete;
  scoped_basic& operator=(const scoped_basic&) = delete;
  ~scoped_basic() override { write_back(); }

  void restore() override { write_back(); }

  // Keeps `size` bytes at `address`, first undoing an earlier save of this object (through the
  // most derived restore). A size above the buffer ("size <= bufsize") is refused in every build:
  // nothing is undone, nothing is saved, and false is returned.
  virtual bool save(std::uintptr_t address, std::size_t size, bool use_protection) {
    if (!(size <= bufsize)) return false;
    this->restore();
    use_protection_ = use_protection;
    saved_ = true;
    address_ = address;
    size_ = size;
    copy_from_host(buffer_, address, size, use_protection);
    return true;
  }

  bool saved() const { return saved_; }
  std::uintptr_t address() const { return address_; }
  std::size_t size() const { return size_; }
  const std::uint8_t* saved_bytes() const { return buffer_; }

 private:
  void write_back() {
    if (!saved_) return;
    copy_into_host(address_, buffer_, size_, use_protection_);
    saved_ = false;
  }

  std::uint8_t buffer_[bufsize] = {};
  std::uintptr_t address_ = 0;
  std::size_t size_ = 0;
  bool saved_ = false;
  bool use_protection_ = false;
};

// A five-byte CALL patch that can be undone.
class scoped_call : public scoped_basic<5> {
 public:
  // Saves the five bytes at `address`, then writes CALL target; returns where the site led before.
  std::uintptr_t make_call(std::uintptr_t address, std::uintptr_t target, bool use_protection = true) {
    save(address, 5, use_protection);
    return injector::make_call(address, target);
  }
};

}  // namespace injector
