// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/PluginDll.h"

#include <windows.h>

namespace smoke {

std::unique_ptr<PluginDll> PluginDll::Load(const std::string& path, std::string* error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    if (error != nullptr)
      *error = "LoadLibrary('" + path + "') failed, error " + std::to_string(GetLastError());
    return nullptr;
  }
  auto entry = reinterpret_cast<PlugMainFunc>(
      reinterpret_cast<void*>(GetProcAddress(module, "plugMain")));
  if (entry == nullptr) {
    FreeLibrary(module);
    if (error != nullptr) *error = "'" + path + "' exports no plugMain";
    return nullptr;
  }
  return std::unique_ptr<PluginDll>(new PluginDll(module, entry));
}

PluginDll::~PluginDll() {
  if (module != nullptr) FreeLibrary(static_cast<HMODULE>(module));
}

}  // namespace smoke
