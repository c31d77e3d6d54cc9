// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/PluginRegistration.h"

#include <cstring>

namespace ffgl {

static_assert(offsetof(PluginInfoRecords, extendedInfo) == 32,
              "the extended record must follow the information record directly");

namespace {
PluginRegistration* processRegistration = nullptr;
}

void CopyFixedField(char* field, const char* text, size_t limit) {
  if (text == nullptr) return;
  for (size_t i = 0; i < limit; ++i) {
    field[i] = text[i];
    if (text[i] == '\0') return;
  }
}

PluginRegistration& RegisterPlugin(PluginRegistration& registration, PluginFactory factory,
                                   const char* uniqueId, const char* name,
                                   uint32_t apiMajor, uint32_t apiMinor,
                                   uint32_t pluginMajor, uint32_t pluginMinor,
                                   uint32_t pluginType, const char* description,
                                   const char* about, uint32_t extendedDataSize,
                                   const void* extendedDataBlock) {
  registration.about = about != nullptr ? about : "";
  registration.description = description != nullptr ? description : "";
  registration.factory = factory;

  PluginInfoStruct& info = registration.info;
  std::memset(&info, 0, sizeof info);
  info.APIMajorVersion = apiMajor;
  info.APIMinorVersion = apiMinor;
  CopyFixedField(info.PluginName, name, sizeof info.PluginName);
  CopyFixedField(info.PluginUniqueID, uniqueId, sizeof info.PluginUniqueID);
  info.PluginType = pluginType;

  PluginExtendedInfoStruct& ext = registration.extendedInfo;
  ext.Description = registration.description.c_str();
  ext.About = registration.about.c_str();
  ext.PluginMajorVersion = pluginMajor;
  ext.PluginMinorVersion = pluginMinor;
  if (extendedDataSize != 0 && extendedDataBlock != nullptr) {
    const auto* bytes = static_cast<const unsigned char*>(extendedDataBlock);
    registration.extendedData.assign(bytes, bytes + extendedDataSize);
    ext.FreeFrameExtendedDataSize = extendedDataSize;
    ext.FreeFrameExtendedDataBlock = registration.extendedData.data();
  } else {
    registration.extendedData.clear();
    ext.FreeFrameExtendedDataSize = 0;
    ext.FreeFrameExtendedDataBlock = nullptr;
  }

  processRegistration = &registration;
  return registration;
}

PluginRegistration* GetPluginRegistration() { return processRegistration; }

}  // namespace ffgl
