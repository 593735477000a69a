#include <dlfcn.h>

#include "standin/plugins.hpp"

namespace standin {

std::string Plugins::path_of(const std::string& name) const { return directory_ + "/" + name + ".so"; }

bool Plugins::load(const std::string& name, std::string& error) {
  if (loaded_.count(name)) return true;
  void* handle = dlopen(path_of(name).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    error = dlerror();
    return false;
  }
  loaded_[name] = handle;
  return true;
}

bool Plugins::unload(const std::string& name, std::string& error) {
  auto it = loaded_.find(name);
  if (it == loaded_.end()) {
    error = name + " is not loaded";
    return false;
  }
  const int rc = dlclose(it->second);
  loaded_.erase(it);
  if (rc != 0) error = dlerror();
  return rc == 0;
}

bool Plugins::contains(const std::string& name, std::uintptr_t address) const {
  auto it = loaded_.find(name);
  if (it == loaded_.end()) return false;
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(address), &info) || !info.dli_fname) return false;
  void* again = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
  if (!again) return false;
  dlclose(again);
  return again == it->second;
}

}  // namespace standin
