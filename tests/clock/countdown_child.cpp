// SPDX-License-Identifier: GPL-3.0-or-later
// Runs Tickora instances in a process of its own, whose wall clock
// libfaketime drives, and prints what they show. The countdown tests start
// it with a script of commands in its arguments:
//   make            a new instance at 160x90 (parameters at their defaults,
//                   as a host sets them up); prints "labels|<e0>|...|<e9>"
//   use K           later commands go to instance K (0 = first made)
//   set NAME VALUE  sets a parameter by its display name
//   text NAME TEXT  sets a text parameter by its display name
//   zone TZ         changes the process's time zone, as a user changing the
//                   computer's zone would
//   at STAMP        writes STAMP ("2027-03-27T23:30:00.000", local time)
//                   into $FAKETIME_TIMESTAMP_FILE: the clock reads it next
//   frame           draws a frame; prints "frame <frameTime> <read-out>",
//                   with " [warn]" after it in the warning colour
//   run MS          draws frames for MS milliseconds of real time
#include "ffgl/GLEntryPoints.h"
#include "host/HeadlessHost.h"
#include "tickora/Tickora.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

std::unique_ptr<tickora::Tickora> Make(host::GLContext& context) {
  auto clock = std::make_unique<tickora::Tickora>();
  for (uint32_t i = 0; i < clock->GetNumParams(); ++i)
    clock->SetFloatParameter(i, clock->FindParam(i)->defaultValue);
  const FFGLViewportStruct viewport{0, 0, static_cast<uint32_t>(context.Width()),
                                    static_cast<uint32_t>(context.Height())};
  clock->InitGL(&viewport);
  std::printf("labels");
  for (const ffgl::ParamElement& e : clock->FindParam(tickora::IndexOf(tickora::ParamId::kDate))->elements)
    std::printf("|%s", e.name.c_str());
  std::printf("\n");
  return clock;
}

int IndexOf(tickora::Tickora& clock, const std::string& name) {
  for (uint32_t i = 0; i < clock.GetNumParams(); ++i) {
    const ffgl::ParamInfo* info = clock.FindParam(i);
    if (std::string(info->name, strnlen(info->name, sizeof info->name)) == name)
      return static_cast<int>(i);
  }
  return -1;
}

bool Set(tickora::Tickora& clock, const std::string& name, float value) {
  const int index = IndexOf(clock, name);
  return index >= 0 && clock.SetFloatParameter(static_cast<uint32_t>(index), value) == FF_SUCCESS;
}

bool SetText(tickora::Tickora& clock, const std::string& name, const std::string& text) {
  const int index = IndexOf(clock, name);
  return index >= 0 &&
         clock.SetTextParameter(static_cast<uint32_t>(index), text.c_str()) == FF_SUCCESS;
}

bool WriteStamp(std::string stamp) {
  const char* path = std::getenv("FAKETIME_TIMESTAMP_FILE");
  if (path == nullptr) return false;
  for (char& c : stamp)
    if (c == 'T') c = ' ';
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  std::fprintf(file, "%s\n", stamp.c_str());
  return std::fclose(file) == 0;
}

void Frame(host::GLContext& context, tickora::Tickora& clock) {
  context.BindFramebuffer();
  context.Clear(0, 0, 0, 0);
  ProcessOpenGLStruct record{0, nullptr, context.Framebuffer()};
  clock.ProcessOpenGL(&record);
  std::printf("frame %lld %s%s\n", static_cast<long long>(clock.FrameTime()),
              clock.DisplayText().toRawUTF8(), clock.Warning() ? " [warn]" : "");
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<host::GLContext> context = host::GLContext::Create();
  if (!context || !ffgl::LoadGLEntryPoints() || !context->SetFramebufferSize(160, 90)) {
    std::fprintf(stderr, "no GL context\n");
    return 1;
  }
  std::vector<std::unique_ptr<tickora::Tickora>> clocks;
  size_t current = 0;
  int status = 0;
  for (int i = 1; i < argc && status == 0; ++i) {
    const std::string command = argv[i];
    const bool hasArgument = i + 1 < argc;
    if (command == "make") {
      clocks.push_back(Make(*context));
      current = clocks.size() - 1;
    } else if (command == "use" && hasArgument) {
      current = std::strtoul(argv[++i], nullptr, 10);
      if (current >= clocks.size()) status = 2;
    } else if (command == "set" && i + 2 < argc && !clocks.empty()) {
      const std::string name = argv[++i];
      if (!Set(*clocks[current], name, std::strtof(argv[++i], nullptr))) status = 2;
    } else if (command == "text" && i + 2 < argc && !clocks.empty()) {
      const std::string name = argv[++i];
      if (!SetText(*clocks[current], name, argv[++i])) status = 2;
    } else if (command == "zone" && hasArgument) {
      setenv("TZ", argv[++i], 1);
    } else if (command == "at" && hasArgument) {
      if (!WriteStamp(argv[++i])) status = 1;
    } else if (command == "frame" && !clocks.empty()) {
      Frame(*context, *clocks[current]);
    } else if (command == "run" && hasArgument && !clocks.empty()) {
      const auto end = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(std::strtol(argv[++i], nullptr, 10));
      while (std::chrono::steady_clock::now() < end) {
        Frame(*context, *clocks[current]);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
      }
    } else {
      std::fprintf(stderr, "bad command at %s\n", argv[i]);
      status = 2;
    }
    std::fflush(stdout);
  }
  context->MakeCurrent();
  for (auto& clock : clocks) clock->DeInitGL();
  return status;
}
