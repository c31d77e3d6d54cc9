// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in's identity and factory, registered during static
// initialisation, before the host's first call.
#include "ffgl/PluginRegistration.h"
#include "tickora/Tickora.h"
#include "tickora/Version.h"

#include <juce_events/juce_events.h>

#include <new>

namespace {

// JUCE keeps its font and typeface caches (FreeType's library among them)
// until someone deletes them; nothing else in a plug-in would. Without this,
// every load and unload of the library (hosts scan plug-ins that way) leaks
// them. It is a static object made just after the first Tickora, whose
// constructor lists the fonts and so creates JUCE's own list of such caches
// first: static destruction runs in reverse order, so at unload and at
// process exit alike the caches go while that list still exists. (A plain
// destructor function would run after static destructors at process exit,
// on the already destroyed list, and crash hosts that keep the library
// loaded until they exit.)
struct JuceCachesRelease {
  ~JuceCachesRelease() { juce::DeletedAtShutdown::deleteAll(); }
};

FFResult CreateTickora(ffgl::CFFGLPlugin** instance) {
  if (instance == nullptr) return FF_FAIL;
  ffgl::CFFGLPlugin* made = new (std::nothrow) tickora::Tickora();
  if (made == nullptr) return FF_FAIL;
  static JuceCachesRelease release;
  *instance = made;
  return FF_SUCCESS;
}

ffgl::PluginRegistration registration;
const ffgl::PluginRegistration& registered =
    ffgl::RegisterPlugin(registration, CreateTickora, "Wmpx", "Tickora", 2, 1,
                         TICKORA_VERSION_MAJOR, TICKORA_VERSION_MINOR, FF_SOURCE, "",
                         "Quorvane", 0, nullptr);

}  // namespace
