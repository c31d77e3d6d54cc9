// The plug-in's identity and factory, registered during static
// initialisation, before the host's first call.
#include "ffgl/PluginRegistration.h"
#include "tickora/Tickora.h"

#include <new>

namespace {

FFResult CreateTickora(CFFGLPlugin** instance) {
  if (instance == nullptr) return FF_FAIL;
  CFFGLPlugin* made = new (std::nothrow) Tickora();
  if (made == nullptr) return FF_FAIL;
  *instance = made;
  return FF_SUCCESS;
}

PluginRegistration registration;
const PluginRegistration& registered =
    RegisterPlugin(registration, CreateTickora, "Wmpx", "Tickora", 2, 1, 1, 1, FF_SOURCE, "",
                   "Quorvane", 0, nullptr);

}  // namespace
