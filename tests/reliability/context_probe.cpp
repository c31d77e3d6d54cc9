// SPDX-License-Identifier: GPL-3.0-or-later
// Makes one context as a host would ask for it and tries one instance of the
// plug-in in it. Mesa reads its version overrides once per process, so each
// version the context tests try needs a process of its own.
//   context_probe PLUGIN MAJOR MINOR core|compatibility
// Prints the plug-in's messages, then "accepted" or "refused"; exits 0 when
// the answer came with no GL error left behind, 1 otherwise, 2 when no such
// context could be made.
#include "host/HeadlessHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  host::ContextRequest request;
  request.major = std::atoi(argv[2]);
  request.minor = std::atoi(argv[3]);
  if (std::strcmp(argv[4], "compatibility") == 0)
    request.profile = host::ContextRequest::Profile::kCompatibility;
  std::string error;
  auto context = host::GLContext::Create(request, &error);
  auto plugin = host::PluginLibrary::Load(argv[1], &error);
  if (!context || !plugin || !context->SetFramebufferSize(64, 64)) {
    std::printf("%s\n", error.c_str());
    return 2;
  }
  FFInstanceID instance = plugin->Instantiate(64, 64);
  std::printf("%s\n", instance != nullptr ? "accepted" : "refused");
  if (instance != nullptr) plugin->Deinstantiate(instance);
  const unsigned glError = host::TakeGLError();
  plugin->Deinitialise();
  return glError == 0 ? 0 : 1;
}
