// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in's identity towards the host: the two information records the
// host reads directly (codes 0 and 13) and the factory that makes instances.
#pragma once

#include "ffgl/FFGL.h"

#include <string>
#include <vector>

namespace ffgl {

class CFFGLPlugin;

// Creates one instance, stores it through the pointer and answers FF_SUCCESS;
// leaves the pointer alone and answers FF_FAIL when none can be made.
using PluginFactory = FFResult (*)(CFFGLPlugin** instance);

// The host reads these two records through raw pointers, back to back: code
// 13 answers an address 32 bytes above code 0's.
struct PluginInfoRecords {
  PluginInfoStruct info;
  PluginExtendedInfoStruct extendedInfo;
};

struct PluginRegistration {
  PluginInfoRecords records{};
  PluginInfoStruct& info = records.info;
  PluginExtendedInfoStruct& extendedInfo = records.extendedInfo;

  std::string about;
  std::string description;
  std::vector<unsigned char> extendedData;
  PluginFactory factory = nullptr;
};

PluginRegistration& RegisterPlugin(PluginRegistration& registration, PluginFactory factory,
                                   const char* uniqueId, const char* name,
                                   uint32_t apiMajor, uint32_t apiMinor,
                                   uint32_t pluginMajor, uint32_t pluginMinor,
                                   uint32_t pluginType, const char* description,
                                   const char* about, uint32_t extendedDataSize,
                                   const void* extendedDataBlock);

// The process's registration, or null before static initialisation made one.
PluginRegistration* GetPluginRegistration();

// Copies up to `limit` bytes of `text`, stopping after the first NUL; a text
// of `limit` or more characters fills the field with no terminator.
void CopyFixedField(char* field, const char* text, size_t limit);

}  // namespace ffgl
