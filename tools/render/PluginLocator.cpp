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
  // Where the build put it, for a binary run through an odd /proc.
  return TICKORA_DEFAULT_PLUGIN;
}

}  // namespace render
