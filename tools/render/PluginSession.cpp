#include "render/PluginSession.h"

#include "render/ToolError.h"

#include <sys/stat.h>

namespace render {

PluginSession::PluginSession(const std::string& pluginPath) : path(pluginPath) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) throw RunTimeError("no plug-in file '" + path + "'");
  if (S_ISDIR(info.st_mode)) throw RunTimeError("'" + path + "' is a folder, not a plug-in");
  std::string error;
  library = host::PluginLibrary::Load(path, &error);
  if (!library) throw RunTimeError(error);
  const PluginInfoStruct* pluginInfo = library->Info();
  if (pluginInfo == nullptr)
    throw RunTimeError("'" + path + "' gives no plug-in information (FF_GET_INFO)");
  if (pluginInfo->PluginType != FF_SOURCE) {
    const char* kind = pluginInfo->PluginType == FF_EFFECT  ? "an effect"
                       : pluginInfo->PluginType == FF_MIXER ? "a mixer"
                                                            : "not a source";
    throw RunTimeError("'" + path + "' (" + library->Name() + ") is " + kind +
                       " plug-in; only source plug-ins draw without input");
  }
  if (!library->Initialise())
    throw RunTimeError("'" + path + "' (" + library->Name() + ") failed to initialise");
}

PluginSession::~PluginSession() {
  if (library) library->Deinitialise();
}

PluginInstance::PluginInstance(const host::PluginLibrary& pluginLibrary, int width, int height)
    : library(pluginLibrary) {
  id = library.Instantiate(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  if (id == nullptr)
    throw RunTimeError("the plug-in made no instance at " + std::to_string(width) + "x" +
                       std::to_string(height));
}

PluginInstance::~PluginInstance() {
  if (id != nullptr) library.Deinstantiate(id);
}

}  // namespace render
