// SPDX-License-Identifier: GPL-3.0-or-later
// A source plug-in loaded, checked and initialised, and the instances made
// from it. Everything goes through plugMain, as in any video host.
#pragma once

#include "host/HeadlessHost.h"

#include <memory>
#include <string>

namespace render {

class PluginSession {
 public:
  // Throws a run-time error naming the file when it is missing, is not a
  // loadable library, has no plugMain, describes no source plug-in or
  // refuses to initialise.
  explicit PluginSession(const std::string& path);
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  const host::PluginLibrary& Library() const { return *library; }
  const std::string& Path() const { return path; }

 private:
  std::string path;
  std::unique_ptr<host::PluginLibrary> library;
};

// One instance, deinstantiated when it goes out of scope; the GL context it
// was made in must be current then.
class PluginInstance {
 public:
  // Throws a run-time error when the plug-in makes no instance.
  PluginInstance(const host::PluginLibrary& library, int width, int height);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  FFInstanceID Id() const { return id; }

 private:
  const host::PluginLibrary& library;
  FFInstanceID id = nullptr;
};

}  // namespace render
