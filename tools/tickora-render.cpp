// SPDX-License-Identifier: GPL-3.0-or-later
// tickora-render: shows an FFGL source plug-in (Tickora by default) without
// a video host, as PNG files or in a live window. Every failure ends in one
// line on standard error and exit status 2 (usage) or 1 (run time).
#include "render/ClockMoment.h"
#include "render/CommandLine.h"
#include "render/Commands.h"
#include "render/FakeClock.h"
#include "render/ToolError.h"

#include <cstdio>
#include <exception>
#include <new>

int main(int argc, char** argv) {
  try {
    render::RenderOptions options;
    if (!render::ParseCommandLine(argc, argv, &options)) return 0;
    // Checked and parsed once more in the new process, with the same words.
    if (render::NeedsFakeClock(options) && !render::UnderFakeClock())
      render::RunUnderFakeClock(argv, options.hasStart ? options.start : render::CurrentMoment());
    render::RunCommand(options);
    return 0;
  } catch (const render::ToolError& e) {
    std::fprintf(stderr, "tickora-render: %s\n", e.what());
    return e.Status();
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "tickora-render: out of memory\n");
    return render::kExitRunTime;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tickora-render: %s\n", e.what());
    return render::kExitRunTime;
  }
}
