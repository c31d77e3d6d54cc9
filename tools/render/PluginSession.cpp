// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PluginSession.h"

#include "render/ToolError.h"

#include <cstdio>
#include <dlfcn.h>
#include <sys/stat.h>

namespace render {
namespace {

// Windows DLLs (and EXEs) open with "MZ"; the loader would only say
// "invalid ELF header", which does not tell a user what went wrong.
bool IsWindowsLibrary(const std::string& path) {
  char magic[2] = {};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  const bool read = std::fread(magic, 1, sizeof(magic), file) == sizeof(magic);
  std::fclose(file);
  return read && magic[0] == 'M' && magic[1] == 'Z';
}

}  // namespace

PluginSession::PluginSession(const std::string& pluginPath) : path(pluginPath) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) throw RunTimeError("no plug-in file '" + path + "'");
  if (S_ISDIR(info.st_mode)) throw RunTimeError("'" + path + "' is a folder, not a plug-in");
  if (IsWindowsLibrary(path))
    throw RunTimeError("'" + path + "' is a Windows DLL; this tool loads Linux plug-ins (.so), "
                       "such as the Tickora.so of the release build");
  std::string error;
  // dlopen searches the library path for a bare file name; the user meant
  // the file they named.
  const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
  library = host::PluginLibrary::Load(loadPath, &error);
  if (!library) throw RunTimeError(error);
  // Plug-ins may keep process-wide caches (JUCE's typefaces in Tickora)
  // that live until exit; unloading the code under them would orphan them
  // and leak checkers would rightly say so. Like most hosts, keep it loaded.
  dlopen(loadPath.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
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
