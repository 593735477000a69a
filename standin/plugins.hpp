#pragma once
// Loads plugins as the game's plugin loader does: static initialisers run during the load.
#include <cstdint>
#include <map>
#include <string>

namespace standin {

class Plugins {
 public:
  explicit Plugins(std::string directory) : directory_(std::move(directory)) {}
  ~Plugins();
  bool load(const std::string& name, std::string& error);
  bool unload(const std::string& name, std::string& error);
  std::string path_of(const std::string& name) const;
  // Whether `address` lies in the code of the loaded plugin `name`.
  bool contains(const std::string& name, std::uintptr_t address) const;

 private:
  std::string directory_;
  std::map<std::string, void*> loaded_;
};

}  // namespace standin
