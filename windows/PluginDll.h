// SPDX-License-Identifier: GPL-3.0-or-later
// An FFGL plug-in DLL loaded with LoadLibrary and driven only through its
// exported plugMain, as a Windows video host drives it.
#pragma once

#include "host/PlugMainCalls.h"

#include <memory>
#include <string>

namespace smoke {

class PluginDll : public host::PlugMainCalls {
 public:
  // Null, with the reason in `error`, when the DLL does not load or has no plugMain.
  static std::unique_ptr<PluginDll> Load(const std::string& path, std::string* error);
  ~PluginDll();

 private:
  PluginDll(void* dll, PlugMainFunc entry) : PlugMainCalls(entry), module(dll) {}
  void* module = nullptr;  // HMODULE
};

}  // namespace smoke
