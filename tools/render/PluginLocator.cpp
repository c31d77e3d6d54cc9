// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PluginLocator.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace render {

std::string DefaultPluginPath() {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
  if (length > 0) {
    std::string path(self, static_cast<size_t>(length));
    path = path.substr(0, path.find_last_of('/') + 1) + "Tickora.so";
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) return path;
  }
  // No path of the build is baked in: a copied binary must not load a stale
  // plug-in from a build folder. Without /proc, the working folder's copy.
  return "./Tickora.so";
}

}  // namespace render
