// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/CommandLine.h"

#include "render/ClockMoment.h"
#include "render/ToolError.h"

#include <CLI/CLI.hpp>

namespace render {
namespace {

constexpr const char* kDescription =
    "Draws an FFGL 2.1 source plug-in (Tickora by default) without a video host:\n"
    "PNG pictures, a numbered PNG sequence or a live preview window.";

constexpr const char* kFooter = R"(Examples:
  tickora-render --list
  tickora-render --set Type=Classic --size 960x540 --background checker --out classic.png
  tickora-render --set Type=Digital --set Font="Liberation Serif" --set Style=Bold \
                 --set "Show Millisecs=on" --frames 60 --fps 30 --out-dir frames/
  tickora-render --start "2026-12-31 23:59:50" --frames 300 --fps 30 \
                 --set "Show Millisecs=on" --out-dir midnight/
  tickora-render --window --set Type=Countdown --set Hour=23

Option parameters take an element's name (Type=Classic) or its position,
booleans take on/off, the others a number (standard ones from 0 to 1).

The clock: the plug-in reads the wall clock, as in a host. For a sequence,
and for any frame with --start, the tool runs itself again under libfaketime
(Debian package libfaketime; TICKORA_FAKETIME=PATH names another copy) and
sets the time it reports before each frame: frame k of --frames N --fps F
shows the clock at start + k/F exactly, however long drawing takes. --start
is local time (TZ decides); without it a sequence starts now.

Files: --out replaces a regular file (through a symbolic link, the file it
leads to) and refuses folders, devices and FIFOs. A sequence refuses a
folder that already holds frame-*.png from an earlier run; --overwrite
removes those first, so no stale frame outlives a shorter run.

Window keys: T or Space next Type, Shift+T previous, 1-9 a Type by position,
Q or Escape quit; resizing the window resizes the instance.
Exit status: 0 done, 1 run-time failure, 2 usage error.)";

struct Raw {
  bool list = false;
  bool printValues = false;
  bool window = false;
  std::string start;
  bool framesGiven = false;
  bool startGiven = false;
  std::string size;
  std::string background;
  std::string keys;
};

void Build(CLI::App& app, RenderOptions& o, Raw& raw) {
  app.description(kDescription);
  app.footer(kFooter);
  app.get_formatter()->column_width(34);
  app.add_flag("--list", raw.list, "Print the plug-in's identity and parameters, exit");
  app.add_flag("--all", o.listAll,
               "With --list: also every element of long lists (all font families)");
  app.add_flag("--print-values", raw.printValues,
               "Apply --set to an instance, draw a frame, print its values, exit");
  app.add_option("--plugin", o.pluginPath,
                 "FFGL source plug-in (default: Tickora.so beside this program)")
      ->type_name("PATH");
  app.add_option("--set", o.settings,
                 "Set a parameter by display name (repeatable, in order)")
      ->type_name("NAME=VALUE")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--size", raw.size, "Frame size (default 1920x1080; window: 960x540)")
      ->type_name("WxH");
  app.add_option("--out", o.outFile, "Draw one frame into this PNG file")->type_name("FILE.png");
  app.add_option("--background", raw.background,
                 "What the frame is composited over (default none: keep alpha;\n"
                 "window: checker); COLOUR is #RRGGBB or a name")
      ->type_name("COLOUR|checker|none");
  app.add_option("--frames", o.frames, "Draw a sequence of N frames (needs --out-dir)")
      ->type_name("N");
  app.add_option("--fps", o.fps, "Frame rate of the sequence (default 30)")->type_name("F");
  app.add_option("--out-dir", o.outDir,
                 "Folder for the sequence frame-00001.png ... (created)")
      ->type_name("DIR");
  app.add_flag("--overwrite", o.overwrite,
               "Remove frame-*.png of an earlier run from --out-dir first");
  app.add_option("--start", raw.start,
                 "Local time of the (first) frame (default now; needs libfaketime)")
      ->type_name("\"YYYY-MM-DD HH:MM:SS[.fff]\"");
  app.add_flag("--window", raw.window, "Show the plug-in live in a window (GL 4.1 core)");
  // Test hooks of the window, not shown in --help.
  app.add_option("--screenshot", o.screenshotFile)->group("");
  app.add_option("--quit-after-frames", o.quitAfterFrames)->group("");
  app.add_option("--test-keys", raw.keys)->group("");
  // Threads that encode a sequence's PNGs, for measuring (0: none).
  app.add_option("--writer-threads", o.writerThreads)->group("");
}

std::vector<std::string> SplitKeys(const std::string& text) {
  std::vector<std::string> keys;
  size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    const size_t comma = text.find(',', start);
    keys.push_back(text.substr(start, comma == std::string::npos ? std::string::npos
                                                                 : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return keys;
}

Mode ChooseMode(const RenderOptions& o, const Raw& raw) {
  const bool sequence = raw.framesGiven || !o.outDir.empty();
  const int chosen = int(raw.list) + int(raw.printValues) + int(raw.window) +
                     int(!o.outFile.empty()) + int(sequence);
  if (chosen == 0)
    throw UsageError("nothing to do: give --out, --frames with --out-dir, --window, --list "
                     "or --print-values");
  if (chosen > 1)
    throw UsageError("choose one of --list, --print-values, --out, --frames/--out-dir and "
                     "--window");
  if (raw.list) return Mode::List;
  if (raw.printValues) return Mode::PrintValues;
  if (raw.window) return Mode::Window;
  if (!o.outFile.empty()) return Mode::SingleFrame;
  return Mode::Sequence;
}

void CheckSequence(const RenderOptions& o, const Raw& raw) {
  if (o.outDir.empty()) throw UsageError("--frames needs --out-dir");
  if (!raw.framesGiven) throw UsageError("--out-dir needs --frames N");
  if (o.frames < 1 || o.frames > 1000000)
    throw UsageError("--frames " + std::to_string(o.frames) + " is not from 1 to 1000000");
  // Frame moments are nanoseconds in 64 bits: keep a sequence within decades.
  if ((o.frames - 1) / o.fps > 1e9)
    throw UsageError("--frames " + std::to_string(o.frames) + " at --fps " +
                     std::to_string(o.fps) + " spans more than 30 years");
}

void CheckMode(RenderOptions& o, const Raw& raw) {
  if (!(o.fps > 0.0 && o.fps <= 1000.0))
    throw UsageError("--fps must be above 0 and at most 1000");
  if (o.mode == Mode::Sequence) CheckSequence(o, raw);
  if (o.overwrite && o.mode != Mode::Sequence)
    throw UsageError("--overwrite applies to a sequence's --out-dir");
  if (o.listAll && o.mode != Mode::List) throw UsageError("--all needs --list");
  if (raw.startGiven && o.mode == Mode::Window)
    throw UsageError("--start does not apply to --window, which shows the clock live");
  if (o.writerThreads < -1 || o.writerThreads > 64)
    throw UsageError("--writer-threads must be from 0 to 64");
  if (o.mode != Mode::Window &&
      (!o.screenshotFile.empty() || o.quitAfterFrames != 0 || !raw.keys.empty()))
    throw UsageError("--screenshot, --quit-after-frames and --test-keys need --window");
  if (o.quitAfterFrames < 0) throw UsageError("--quit-after-frames must not be negative");
  if (o.mode == Mode::List && !o.settings.empty())
    throw UsageError("--list shows the defaults; use --print-values to see --set applied");
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, RenderOptions* options) {
  RenderOptions& o = *options;
  Raw raw;
  CLI::App app;
  app.name("tickora-render");
  Build(app, o, raw);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::printf("%s", app.help().c_str());
    return false;
  } catch (const CLI::ParseError& e) {
    throw UsageError(std::string(e.what()) + " (see --help)");
  }
  raw.framesGiven = app.count("--frames") > 0;
  raw.startGiven = app.count("--start") > 0;
  o.mode = ChooseMode(o, raw);
  CheckMode(o, raw);
  if (!raw.size.empty()) {
    o.size = ParseFrameSize(raw.size);
  } else if (o.mode == Mode::Window) {
    o.size = FrameSize{960, 540};
  }
  if (!raw.background.empty())
    o.background = ParseBackground(raw.background);
  else if (o.mode == Mode::Window)
    o.background.kind = Background::Kind::Checker;
  o.testKeys = SplitKeys(raw.keys);
  if (raw.startGiven) {
    o.hasStart = true;
    o.start = ParseLocalMoment(raw.start);
  }
  return true;
}

}  // namespace render
