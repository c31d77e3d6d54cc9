// Prints a plug-in's identity and parameter table, read through plugMain.
#include "host/HeadlessHost.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : TICKORA_DEFAULT_PLUGIN;
  std::string error;
  auto plugin = host::PluginLibrary::Load(path, &error);
  if (!plugin) {
    std::fprintf(stderr, "tickora-info: %s\n", error.c_str());
    return 1;
  }
  const PluginInfoStruct* info = plugin->Info();
  const PluginExtendedInfoStruct* ext = plugin->ExtendedInfo();
  if (info == nullptr || ext == nullptr) {
    std::fprintf(stderr, "tickora-info: the plug-in gives no information record\n");
    return 1;
  }
  std::printf("%s (%s), FFGL %u.%u, type %u, version %u.%u, about \"%s\"\n",
              plugin->Name().c_str(), plugin->UniqueId().c_str(), info->APIMajorVersion,
              info->APIMinorVersion, info->PluginType, ext->PluginMajorVersion,
              ext->PluginMinorVersion, ext->About != nullptr ? ext->About : "");
  for (const host::ParameterInfo& p : plugin->Parameters()) {
    std::printf("%3u  %-17s type %3u  default %g", p.index, p.name.c_str(), p.type,
                static_cast<double>(p.defaultValue));
    if (!p.elementNames.empty()) {
      std::printf("  [%zu elements: %s", p.elementNames.size(), p.elementNames.front().c_str());
      if (p.elementNames.size() > 1) std::printf(" ... %s", p.elementNames.back().c_str());
      std::printf("]");
    }
    std::printf("\n");
  }
  plugin->Deinitialise();
  return 0;
}
