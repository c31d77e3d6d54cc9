// The plug-in's identity and factory, registered during static
// initialisation, before the host's first call.
#include "ffgl/PluginRegistration.h"
#include "tickora/Tickora.h"

#include <juce_events/juce_events.h>

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

// JUCE keeps its font and typeface caches (FreeType's library among them)
// until someone deletes them; nothing else in a plug-in would. Without this,
// every load and unload of the library (hosts scan plug-ins that way) leaks
// them. Runs when the library is unloaded or the process ends, before static
// destructors, once no call can reach the plug-in any more.
__attribute__((destructor)) static void ReleaseJuceCachesAtUnload() {
  juce::DeletedAtShutdown::deleteAll();
}
