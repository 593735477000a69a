#include <windows.h>

#include "standin/plugins.hpp"

namespace standin {

std::string Plugins::path_of(const std::string& name) const { return directory_ + "\\" + name + ".dll"; }

bool Plugins::load(const std::string& name, std::string& error) {
  if (loaded_.count(name)) return true;
  HMODULE handle = LoadLibraryA(path_of(name).c_str());
  if (!handle) {
    error = "LoadLibrary failed with error " + std::to_string(GetLastError());
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
  const BOOL ok = FreeLibrary(static_cast<HMODULE>(it->second));
  loaded_.erase(it);
  if (!ok) error = "FreeLibrary failed with error " + std::to_string(GetLastError());
  return ok != 0;
}

bool Plugins::contains(const std::string& name, std::uintptr_t address) const {
  auto it = loaded_.find(name);
  if (it == loaded_.end()) return false;
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(address), &module))
    return false;
  return module == it->second;
}

}  // namespace standin
