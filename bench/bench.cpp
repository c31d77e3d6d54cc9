// SPDX-License-Identifier: GPL-3.0-or-later
// bench: what Tickora costs a host, measured in one run on one headless
// context. The plug-in is linked in and driven through its own plugMain, as
// a host drives the shared library; the bench also reaches into the instance
// (atlas rebuilds) and swaps the entry-point table (CPU work without a
// driver). Every figure is the median of repeated measurements with its
// spread; frame times are also given as a ratio to the floor pass measured
// right beside them.
#include "bench/FloorPass.h"
#include "bench/NoOpGL.h"
#include "bench/Report.h"
#include "bench/Stats.h"
#include "ffgl/FFGL.h"
#include "host/HeadlessHost.h"
#include "host/PlugMainCalls.h"
#include "tickora/DigitalShaders.h"
#include "tickora/HandsBox.h"
#include "tickora/Tickora.h"
#include "tickora/TimeModel.h"
#include "tickora/TimeSource.h"

#include <valgrind/callgrind.h>

#include <dirent.h>
#include <malloc.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

extern "C" FFMixed FF_CALL plugMain(uint32_t functionCode, FFMixed inputValue,
                                    FFInstanceID instanceID);

namespace {

using bench::Figure;
using bench::Summarise;
using bench::Summary;

struct Size {
  uint32_t width = 0;
  uint32_t height = 0;
};

struct Options {
  std::vector<Size> frameSizes{{640, 360}, {1920, 1080}, {3840, 2160}};
  std::vector<uint32_t> atlasWidths{640, 1920, 3840};
  std::vector<uint32_t> memoryWidths{1920, 3840};
  int reps = 30;          // timed repetitions of every figure
  int cpuFrames = 2000;   // frames per batch of the CPU measurement
  int callgrindFrames = 500;
  bool callgrind = true;
  bool cpuOnly = false;   // the mode run under callgrind
  std::string sections = "instance,memory,atlas,frames,cpu";
  std::string jsonPath;
};

constexpr int kDigital = static_cast<int>(tickora::DisplayType::kDigital);
constexpr int kClassic = static_cast<int>(tickora::DisplayType::kClassic);
constexpr int kCountdown = static_cast<int>(tickora::DisplayType::kCountdown);
// Every display type is measured, from the one list of them.
constexpr int kTypes = tickora::kDisplayTypeCount;

// "Digital HH:MM:SS", "Classic", ...: read-outs are named with their format.
std::string TypeName(int type) {
  const tickora::DisplayTypeDef& def = tickora::kDisplayTypes[type];
  return std::string(def.name) + (def.renderer == tickora::Renderer::kReadout ? " HH:MM:SS" : "");
}

// The name callgrind's dump of a type's frames carries: "digital", ...
std::string DumpName(int type) {
  std::string name = tickora::kDisplayTypes[type].name;
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The plug-in linked in, called as a host calls the shared library.
const host::LinkedPlugin plugin(&plugMain);

FFInstanceID Instantiate(uint32_t width, uint32_t height) {
  return plugin.Instantiate(width, height);
}

void Destroy(FFInstanceID instance) {
  if (instance != nullptr) plugin.Deinstantiate(instance);
}

void SetParam(FFInstanceID instance, tickora::ParamId id, float value) {
  plugin.SetParameter(instance, tickora::IndexOf(id), value);
}

void Frame(FFInstanceID instance) { plugin.ProcessFrame(instance); }

tickora::Tickora* AsTickora(FFInstanceID instance) {
  return dynamic_cast<tickora::Tickora*>(static_cast<ffgl::CFFGLPlugin*>(instance));
}

// An instance showing `type`; Countdown counts down to tomorrow 00:00, so
// that its read-out has as many characters as the time of day, and a Timer
// or Stopwatch runs.
FFInstanceID MakeInstance(Size size, int type) {
  FFInstanceID instance = Instantiate(size.width, size.height);
  if (AsTickora(instance) == nullptr) return nullptr;
  SetParam(instance, tickora::ParamId::kType, static_cast<float>(type));
  if (type == kCountdown) SetParam(instance, tickora::ParamId::kDate, 1.0f);
  const tickora::Counts counts = tickora::kDisplayTypes[type].counts;
  if (counts == tickora::Counts::kDuration || counts == tickora::Counts::kElapsed)
    SetParam(instance, tickora::ParamId::kRun, 1.0f);
  return instance;
}

double ResidentMB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

std::string SizeName(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

// --- instance creation ---------------------------------------------------

void MeasureCreation(const Options& options, bench::Report& report) {
  const Size size{1920, 1080};
  double start = NowMs();
  FFInstanceID first = Instantiate(size.width, size.height);
  const double firstMs = NowMs() - start;
  start = NowMs();
  Frame(first);
  bench::FinishGL();
  const double firstFrameMs = NowMs() - start;
  Destroy(first);

  std::vector<double> create, firstFrame;
  for (int i = 0; i < options.reps; ++i) {
    start = NowMs();
    FFInstanceID instance = Instantiate(size.width, size.height);
    create.push_back(NowMs() - start);
    start = NowMs();
    Frame(instance);
    bench::FinishGL();
    firstFrame.push_back(NowMs() - start);
    Destroy(instance);
  }
  report.Add({"instance 1920x1080", "first in process", "ms", Summarise({firstMs}),
              "prototype, font scan, GL loading, programs"});
  report.Add({"instance 1920x1080", "warm", "ms", Summarise(create), "goal <= 15 ms"});
  report.Add({"instance 1920x1080", "its first Digital frame, first", "ms",
              Summarise({firstFrameMs}), "atlas + shader variants"});
  report.Add({"instance 1920x1080", "its first Digital frame, warm", "ms", Summarise(firstFrame),
              "goal <= 2.5 floor passes, shader cache on"});
}

// --- memory ----------------------------------------------------------------

void MeasureMemory(const Options& options, bench::Report& report) {
  const int count = std::max(3, std::min(options.reps, 5));
  for (uint32_t width : options.memoryWidths) {
    std::vector<FFInstanceID> instances;
    std::vector<double> added;
    malloc_trim(0);
    double before = ResidentMB();
    for (int i = 0; i < count; ++i) {
      FFInstanceID instance = Instantiate(width, width * 9 / 16);
      Frame(instance);  // the atlas is drawn and uploaded at the first frame
      bench::FinishGL();
      instances.push_back(instance);
      const double now = ResidentMB();
      added.push_back(now - before);
      before = now;
    }
    for (FFInstanceID instance : instances) Destroy(instance);
    report.Add({"memory", "per instance at " + std::to_string(width) + " wide", "MiB",
                Summarise(added),
                width == 1920   ? "goal <= 6 MiB"
                : width == 3840 ? "goal <= 16 MiB"
                : width == 7680 ? "goal <= 18 MiB"
                                : ""});
  }
}

// --- atlas -----------------------------------------------------------------

void MeasureAtlas(const Options& options, bench::Report& report) {
  for (uint32_t width : options.atlasWidths) {
    FFInstanceID instance = Instantiate(width, width * 9 / 16);
    tickora::Tickora* clock = AsTickora(instance);
    if (clock == nullptr) continue;
    bench::FinishGL();
    double start = NowMs();
    clock->UpdateGlyphAtlas();
    bench::FinishGL();
    const double firstMs = NowMs() - start;
    std::vector<double> repeated;
    for (int i = 0; i < options.reps; ++i) {
      clock->MarkAtlasStale();
      start = NowMs();
      clock->UpdateGlyphAtlas();
      bench::FinishGL();
      repeated.push_back(NowMs() - start);
    }
    // What a user's change of "Font" or "Style" costs: glyphs of a family
    // and style not drawn at this size before, so no cached outline helps.
    std::vector<double> changed;
    const int families = clock->FontNames().size();
    for (int i = 0; i < options.reps && i < families * 3; ++i) {
      SetParam(instance, tickora::ParamId::kFont, static_cast<float>(i % families));
      SetParam(instance, tickora::ParamId::kStyle, static_cast<float>((i / families + 1) % 3));
      start = NowMs();
      clock->UpdateGlyphAtlas();
      bench::FinishGL();
      changed.push_back(NowMs() - start);
    }
    Destroy(instance);

    // The clear that starts every rebuild, both ways: JUCE's own, and the
    // row fill the atlas uses (the same bytes).
    juce::Image image(juce::Image::ARGB, static_cast<int>(width), static_cast<int>(width), true);
    std::vector<double> juceClear, rowFill;
    for (int i = 0; i < options.reps; ++i) {
      start = NowMs();
      image.clear(image.getBounds(), juce::Colours::transparentWhite);
      juceClear.push_back(NowMs() - start);
      start = NowMs();
      {
        const juce::Image::BitmapData pixels(image, juce::Image::BitmapData::writeOnly);
        for (int y = 0; y < pixels.height; ++y)
          std::memset(pixels.getLinePointer(y), 0,
                      static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.pixelStride));
      }
      rowFill.push_back(NowMs() - start);
    }
    const std::string section = "atlas " + std::to_string(width);
    report.Add({section, "clear, juce::Image::clear", "ms", Summarise(juceClear), "before"});
    report.Add({section, "clear, row fill", "ms", Summarise(rowFill), "used now"});
    report.Add({section, "rebuild + upload, first", "ms", Summarise({firstMs}), ""});
    report.Add({section, "rebuild + upload, same glyphs", "ms", Summarise(repeated), ""});
    report.Add({section, "rebuild + upload, font change", "ms", Summarise(changed),
                width == 1920 ? "goal <= 1.5 ms" : ""});
  }
}

// --- frames ----------------------------------------------------------------

double ProcessCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// Wall-clock time of one frame, and the CPU time that every thread of the
// process (the rasteriser's included) spent on it. On a busy machine the
// second is the steadier measure of the work a frame takes.
struct FrameTime {
  double wallMs = 0.0;
  double cpuMs = 0.0;
};

FrameTime TimeFrame(const std::function<void()>& draw) {
  bench::FinishGL();
  const double wall = NowMs();
  const double cpu = ProcessCpuMs();
  draw();
  bench::FinishGL();
  return {NowMs() - wall, ProcessCpuMs() - cpu};
}

// "at 07:37:22" in local time.
std::string WallClockName(int64_t moment) {
  const tickora::ClockFields f = tickora::DigitalFields(moment);
  char text[32];
  std::snprintf(text, sizeof text, "at %02d:%02d:%02d", f.hours, f.minutes, f.seconds);
  return text;
}

// The frames are drawn at fixed moments: the Classic frame shades only the
// rectangles around its hands, so its cost depends on where they point.
int64_t frameMoment = 0;
int64_t FrameMoment() { return frameMoment; }
const int64_t kPhotoMoment = 1796724599500;  // 2026-12-08 10:09:59.5 UTC

// The second of that day's first twelve hours (local time) at which the
// instance's hands' rectangles cover the most of its output: the Classic
// frame's most expensive moment.
int64_t WidestHandsMoment(tickora::Tickora& classic) {
  const int64_t start = kPhotoMoment - 10 * 3600000LL - 9 * 60000LL - 59500;
  int64_t widest = start;
  double widestArea = -1.0;
  for (int64_t second = 0; second < 12 * 3600; ++second) {
    const int64_t moment = start + second * 1000;
    const tickora::HandTurns turns = tickora::HandTurnsOf(tickora::ClassicFields(moment), true);
    tickora::PixelRect hands[3];
    if (!tickora::HandsBoxBounds(classic.HandsAt(turns), 2, hands)) continue;
    double area = 0.0;
    for (const tickora::PixelRect& hand : hands) area += static_cast<double>(hand.width) * hand.height;
    if (area > widestArea) {
      widestArea = area;
      widest = moment;
    }
  }
  return widest;
}

// The instances drawn at each size: every type at 10:09:59, and Classic
// once more (kWidest) at the moment its hands cover the most.
constexpr int kWidest = kTypes;
constexpr int kSubjects = kTypes + 1;

struct FrameSubjects {
  FFInstanceID instances[kSubjects] = {};
  int64_t widest = kPhotoMoment;

  void Create(Size size) {
    for (int t = 0; t < kTypes; ++t) instances[t] = MakeInstance(size, t);
    instances[kWidest] = MakeInstance(size, kClassic);
    tickora::Tickora* widestClassic = AsTickora(instances[kWidest]);
    widest = widestClassic != nullptr ? WidestHandsMoment(*widestClassic) : kPhotoMoment;
  }
  void Draw(int t) const {
    frameMoment = t == kWidest ? widest : kPhotoMoment;
    Frame(instances[t]);
  }
  void Destroy() {
    for (FFInstanceID& instance : instances) ::Destroy(instance), instance = nullptr;
  }
};

// Every measurement taken at one frame size. The ratios divide by the floor
// pass of the same repetition.
struct FrameSamples {
  std::vector<double> floorWall, floorCpu;
  std::vector<double> eightCpu, onePassCpu, boundCpu, samplingCpu, inkBoxesCpu;
  // The scissor rectangles of a Digital frame, and its share of inked pixels.
  std::vector<std::array<int, 4>> digitalScissors;
  double inkedShare = 0.0;
  std::vector<double> typeWall[kSubjects], ratioWall[kSubjects], ratioCpu[kSubjects];
};

// One repetition: the floor pass, the bounds beside it, then each instance.
void SampleRepetition(bench::FloorPass& floor, bool bound, const FrameSubjects& subjects,
                      FrameSamples& s) {
  const FrameTime f = TimeFrame([&] { floor.Draw(); });
  s.floorWall.push_back(f.wallMs);
  s.floorCpu.push_back(f.cpuMs);
  // The least that eight passes (HH:MM:SS) can cost.
  const FrameTime eight = TimeFrame([&] {
    for (int pass = 0; pass < 8; ++pass) floor.Draw();
  });
  s.eightCpu.push_back(eight.cpuMs / f.cpuMs);
  const FrameTime inkBoxes = TimeFrame([&] { floor.DrawClipped(s.digitalScissors); });
  s.inkBoxesCpu.push_back(inkBoxes.cpuMs / f.cpuMs);
  if (bound) {
    const FrameTime one = TimeFrame([&] { floor.DrawGlyphBound(1, false); });
    s.onePassCpu.push_back(one.cpuMs / f.cpuMs);
    const FrameTime boxes = TimeFrame([&] { floor.DrawGlyphBound(8, false); });
    s.boundCpu.push_back(boxes.cpuMs / f.cpuMs);
    const FrameTime reads = TimeFrame([&] { floor.DrawGlyphBound(8, true); });
    s.samplingCpu.push_back(reads.cpuMs / f.cpuMs);
  }
  for (int t = 0; t < kSubjects; ++t) {
    const FrameTime ft = TimeFrame([&] { subjects.Draw(t); });
    s.typeWall[t].push_back(ft.wallMs);
    s.ratioWall[t].push_back(ft.wallMs / f.wallMs);
    s.ratioCpu[t].push_back(ft.cpuMs / f.cpuMs);
  }
}

void ReportFrames(const std::string& section, const FrameSamples& s, bool bound, int64_t widest,
                  bench::Report& report) {
  // The goals stand for Digital and Classic; the other read-outs are the
  // same renderer with other text.
  auto goal = [](int t) -> std::string {
    if (t == kDigital) return "goal <= 0.75 x at 1920 and wider, <= 1.0 x at 640";
    if (t == kClassic || t == kWidest) return "goal <= 1.0 x";
    return "";
  };
  report.Add({section, "floor pass", "ms", Summarise(s.floorWall), ""});
  report.Add({section, "floor pass, CPU time", "ms", Summarise(s.floorCpu), "all threads"});
  report.Add({section, "8 floor passes / floor, CPU", "x", Summarise(s.eightCpu),
              "one frame of 8 floor passes"});
  report.Add({section, "floor over Digital's ink boxes / floor, CPU", "x",
              Summarise(s.inkBoxesCpu), "its scissor rectangles, one floor pass each"});
  report.Add({section, "Digital HH:MM:SS pixels with ink", "%", Summarise({100.0 * s.inkedShare}),
              "share of the output"});
  if (bound) {
    report.Add({section, "1 box-only glyph pass / floor, CPU", "x", Summarise(s.onePassCpu),
                "bound for any shaded pass"});
    report.Add({section, "8 box-only glyph passes / floor, CPU", "x", Summarise(s.boundCpu),
                "bound, nothing read"});
    report.Add({section, "8 one-read glyph passes / floor, CPU", "x", Summarise(s.samplingCpu),
                "bound for HH:MM:SS"});
  }
  for (int t = 0; t < kSubjects; ++t) {
    const std::string name = t == kWidest ? "Classic, widest hands" : TypeName(t);
    report.Add({section, name, "ms", Summarise(s.typeWall[t]),
                t == kWidest ? WallClockName(widest) : ""});
    report.Add({section, name + " / floor", "x", Summarise(s.ratioWall[t]), "wall-clock ratio"});
    report.Add({section, name + " / floor, CPU", "x", Summarise(s.ratioCpu[t]),
                goal(t).empty() ? "CPU-time ratio" : "CPU-time ratio; " + goal(t)});
  }
}

std::vector<std::array<int, 4>>* recordedScissors = nullptr;
decltype(ffgl::GLEntryPoints::Scissor) realScissor = nullptr;

void FFGL_APIENTRY RecordingScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  recordedScissors->push_back({x, y, width, height});
  realScissor(x, y, width, height);
}

// The scissor rectangles of one Digital frame's passes (the last call puts
// the host's rectangle back and is dropped).
void RecordDigitalScissors(const FrameSubjects& subjects, std::vector<std::array<int, 4>>& rects) {
  rects.clear();
  recordedScissors = &rects;
  realScissor = ffgl::glEntryPoints.Scissor;
  ffgl::glEntryPoints.Scissor = RecordingScissor;
  subjects.Draw(0);
  ffgl::glEntryPoints.Scissor = realScissor;
  recordedScissors = nullptr;
  if (!rects.empty()) rects.pop_back();
}

void MeasureFramesAt(Size size, const Options& options, host::GLContext& context,
                     bench::FloorPass& floor, bench::Report& report) {
  context.SetFramebufferSize(static_cast<int>(size.width), static_cast<int>(size.height));
  context.Clear(0, 0, 0, 0);
  const bool bound = floor.CreateGlyphBound(tickora::kDigitalVertexShader,
                                            static_cast<int>(size.width),
                                            static_cast<int>(size.height));
  if (!bound)
    std::fprintf(stderr, "bench: no glyph-pass bound (the read-out's vertex stage changed)\n");
  FrameSubjects subjects;
  subjects.Create(size);
  // Warm-up: atlas, shader variants, first touch of the framebuffer.
  for (int i = 0; i < 3; ++i) {
    TimeFrame([&] { floor.Draw(); });
    for (int t = 0; t < kSubjects; ++t) TimeFrame([&] { subjects.Draw(t); });
  }
  // Interleaved, so that a busy moment of the machine weighs on every
  // figure alike, and each ratio compares neighbouring measurements.
  // 4K frames of the read-out take seconds on a software renderer: fewer
  // repetitions there keep the whole run within minutes.
  const int reps =
      size.width * size.height > 4000000 ? std::max(5, options.reps / 3) : options.reps;
  FrameSamples samples;
  RecordDigitalScissors(subjects, samples.digitalScissors);
  context.Clear(0, 0, 0, 0);
  subjects.Draw(0);
  samples.inkedShare =
      bench::InkedShare(static_cast<int>(size.width), static_cast<int>(size.height));
  for (int i = 0; i < reps; ++i) SampleRepetition(floor, bound, subjects, samples);
  subjects.Destroy();
  ReportFrames("frame " + SizeName(size), samples, bound, subjects.widest, report);
}

void MeasureFrames(const Options& options, host::GLContext& context, bench::Report& report) {
  tickora::SetTimeSource(FrameMoment);
  frameMoment = kPhotoMoment;
  bench::FloorPass floor;
  if (!floor.Create()) {
    std::fprintf(stderr, "bench: the floor program does not build\n");
    return;
  }
  for (Size size : options.frameSizes) MeasureFramesAt(size, options, context, floor, report);
  floor.Release();
  tickora::SetTimeSource(nullptr);
}

// --- CPU work without a driver ---------------------------------------------

// A clock that advances one 60 Hz frame per reading, from a fixed moment,
// so that the local-time conversion runs as often as it would in a live set.
int64_t simulatedFrame = 0;
int64_t SimulatedClock() {
  const int64_t start = 1796724599500;  // 2026-12-08 10:09:59.5 UTC
  return start + (simulatedFrame++ * 1000) / 60;
}

struct CpuInstances {
  FFInstanceID instances[kTypes] = {};

  // Built with the real driver: programs, quad and the atlas.
  void Create() {
    for (int t = 0; t < kTypes; ++t) {
      instances[t] = MakeInstance({1920, 1080}, t);
      if (tickora::Tickora* clock = AsTickora(instances[t])) clock->UpdateGlyphAtlas();
    }
    bench::FinishGL();
  }
  void Destroy() {
    for (FFInstanceID& instance : instances) ::Destroy(instance), instance = nullptr;
  }
};

// Runs `body` with the no-op table and the simulated clock, and puts the
// real ones back.
void WithoutDriver(const std::function<void()>& body) {
  const ffgl::GLEntryPoints real = bench::InstallNoOpGL(1920, 1080);
  simulatedFrame = 0;
  tickora::SetTimeSource(SimulatedClock);
  body();
  tickora::SetTimeSource(nullptr);
  ffgl::glEntryPoints = real;
}

void MeasureCpu(const Options& options, bench::Report& report) {
  CpuInstances cpu;
  cpu.Create();
  WithoutDriver([&] {
    for (int t = 0; t < kTypes; ++t) {
      for (int i = 0; i < 100; ++i) Frame(cpu.instances[t]);
      std::vector<double> nsPerFrame;
      for (int r = 0; r < options.reps; ++r) {
        const double start = NowMs();
        for (int i = 0; i < options.cpuFrames; ++i) Frame(cpu.instances[t]);
        nsPerFrame.push_back((NowMs() - start) * 1e6 / options.cpuFrames);
      }
      report.Add({"CPU per frame, no GL", TypeName(t), "ns", Summarise(nsPerFrame), ""});
    }
  });
  cpu.Destroy();
}

// The mode run under callgrind: each display type's frames between a reset
// and a dump of the counters, named after the type.
int RunCpuOnly(const Options& options) {
  std::string error;
  auto context = host::GLContext::Create(&error);
  if (!context) {
    std::fprintf(stderr, "bench: %s\n", error.c_str());
    return 1;
  }
  context->SetFramebufferSize(64, 64);
  CpuInstances cpu;
  cpu.Create();
  WithoutDriver([&] {
    for (int t = 0; t < kTypes; ++t) {
      for (int i = 0; i < 100; ++i) Frame(cpu.instances[t]);
      CALLGRIND_ZERO_STATS;
      CALLGRIND_START_INSTRUMENTATION;
      for (int i = 0; i < options.callgrindFrames; ++i) Frame(cpu.instances[t]);
      CALLGRIND_STOP_INSTRUMENTATION;
      CALLGRIND_DUMP_STATS_AT(DumpName(t).c_str());
    }
  });
  cpu.Destroy();
  return 0;
}

// Reads the "Client Request: <name>" dumps that RunCpuOnly left in `dir`.
void ReadCallgrindDumps(const std::string& dir, int frames, bench::Report& report) {
  double instructions[kTypes];
  for (double& count : instructions) count = -1;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* entry = readdir(d)) {
      const std::string name = entry->d_name;
      if (name.rfind("cg.out", 0) != 0) continue;
      std::ifstream in(dir + "/" + name);
      std::string line;
      int type = -1;
      double total = -1;
      while (std::getline(in, line)) {
        for (int t = 0; t < kTypes; ++t)
          if (line == "desc: Trigger: Client Request: " + DumpName(t)) type = t;
        if (line.rfind("summary:", 0) == 0 || line.rfind("totals:", 0) == 0)
          total = std::strtod(line.c_str() + line.find(':') + 1, nullptr);
      }
      if (type >= 0 && total >= 0) instructions[type] = total;
    }
    closedir(d);
  }
  for (int t = 0; t < kTypes; ++t) {
    if (instructions[t] < 0) continue;
    report.Add({"CPU per frame, no GL", TypeName(t) + " (callgrind)", "instr",
                Summarise({instructions[t] / frames}),
                t == kDigital     ? "goal <= 7000; deterministic"
                : t == kCountdown ? "goal <= 9000; deterministic"
                                  : "deterministic"});
  }
}

void MeasureInstructions(const Options& options, bench::Report& report) {
  if (std::system("valgrind --version > /dev/null 2>&1") != 0) {
    std::fprintf(stderr, "bench: valgrind not found, no instruction counts\n");
    return;
  }
  char self[4096] = {};
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return;
  // The callgrind dumps go where the user keeps temporary files.
  const char* tmp = std::getenv("TMPDIR");
  std::string dirTemplate = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                            "/tickora-bench-XXXXXX";
  const char* dir = mkdtemp(&dirTemplate[0]);
  if (dir == nullptr) return;
  std::ostringstream command;
  command << "valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=" << dir
          << "/cg.out '" << self << "' --cpu-only --callgrind-frames " << options.callgrindFrames
          << " > " << dir << "/log 2>&1";
  std::fprintf(stderr, "bench: running the CPU mode under callgrind...\n");
  if (std::system(command.str().c_str()) != 0) {
    std::fprintf(stderr, "bench: callgrind run failed, see %s/log\n", dir);
    return;
  }
  ReadCallgrindDumps(dir, options.callgrindFrames, report);
  std::system(("rm -rf '" + std::string(dir) + "'").c_str());
}

// --- options -------------------------------------------------------------

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, ','))
    if (!part.empty()) parts.push_back(part);
  return parts;
}

uint32_t PositiveNumber(const std::string& text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  return value > 0 && value <= 16384 ? static_cast<uint32_t>(value) : 0;
}

bool ParseSizes(const std::string& text, std::vector<Size>& sizes) {
  sizes.clear();
  for (const std::string& part : Split(text)) {
    const size_t x = part.find('x');
    if (x == std::string::npos) return false;
    const Size size{PositiveNumber(part.substr(0, x)), PositiveNumber(part.substr(x + 1))};
    if (size.width == 0 || size.height == 0) return false;
    sizes.push_back(size);
  }
  return !sizes.empty();
}

bool ParseWidths(const std::string& text, std::vector<uint32_t>& widths) {
  widths.clear();
  for (const std::string& part : Split(text)) {
    const uint32_t width = PositiveNumber(part);
    if (width == 0) return false;
    widths.push_back(width);
  }
  return !widths.empty();
}

const char* const kUsage =
    "usage: bench [--quick] [--json FILE] [--reps N] [--sizes WxH,...]\n"
    "             [--atlas-widths W,...] [--memory-widths W,...] [--cpu-frames N]\n"
    "             [--callgrind-frames N] [--no-callgrind]\n"
    "             [--sections instance,memory,atlas,frames,cpu]\n"
    "       bench --cpu-only [--callgrind-frames N]   (run under callgrind by bench itself)\n"
    "--quick: a smoke run, small sizes and few repetitions.\n";

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--quick") {
      o.frameSizes = {{160, 90}, {320, 180}};
      o.atlasWidths = {160, 320};
      o.memoryWidths = {320};
      o.reps = 3;
      o.cpuFrames = 200;
      o.callgrindFrames = 50;
    } else if (arg == "--json" && hasValue) {
      o.jsonPath = argv[++i];
    } else if (arg == "--reps" && hasValue) {
      o.reps = static_cast<int>(PositiveNumber(argv[++i]));
      if (o.reps == 0) return false;
    } else if (arg == "--cpu-frames" && hasValue) {
      o.cpuFrames = static_cast<int>(PositiveNumber(argv[++i]));
      if (o.cpuFrames == 0) return false;
    } else if (arg == "--callgrind-frames" && hasValue) {
      o.callgrindFrames = static_cast<int>(PositiveNumber(argv[++i]));
      if (o.callgrindFrames == 0) return false;
    } else if (arg == "--sizes" && hasValue) {
      if (!ParseSizes(argv[++i], o.frameSizes)) return false;
    } else if (arg == "--atlas-widths" && hasValue) {
      if (!ParseWidths(argv[++i], o.atlasWidths)) return false;
    } else if (arg == "--memory-widths" && hasValue) {
      if (!ParseWidths(argv[++i], o.memoryWidths)) return false;
    } else if (arg == "--sections" && hasValue) {
      o.sections = argv[++i];
    } else if (arg == "--no-callgrind") {
      o.callgrind = false;
    } else if (arg == "--cpu-only") {
      o.cpuOnly = true;
    } else {
      return false;
    }
  }
  return true;
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
  return text;
}

bool WantsHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") return true;
  return false;
}

// The sections asked for, always in this order whatever the order given.
void RunSections(const Options& options, host::GLContext& context, bench::Report& report) {
  const auto wanted = [&](const char* name) {
    for (const std::string& part : Split(options.sections))
      if (part == name) return true;
    return false;
  };
  const struct {
    const char* name;
    std::function<void()> run;
  } sections[] = {
      {"instance", [&] { MeasureCreation(options, report); }},
      {"memory", [&] { MeasureMemory(options, report); }},
      {"atlas", [&] { MeasureAtlas(options, report); }},
      {"frames", [&] { MeasureFrames(options, context, report); }},
      {"cpu", [&] { MeasureCpu(options, report); }},
  };
  for (const auto& section : sections) {
    if (!wanted(section.name)) continue;
    std::fprintf(stderr, "bench: %s...\n", section.name);
    section.run();
  }
  if (options.callgrind && wanted("cpu")) MeasureInstructions(options, report);
}

// The table on stdout, and the JSON file if one was asked for.
int PrintReport(const Options& options, const std::string& renderer, const bench::Report& report) {
  std::printf("Tickora bench on %s\n%s", renderer.c_str(), report.Table().c_str());
  if (!options.jsonPath.empty()) {
    std::ofstream json(options.jsonPath);
    json << report.Json();
    if (!json) {
      std::fprintf(stderr, "bench: cannot write %s\n", options.jsonPath.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (WantsHelp(argc, argv)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // Large blocks always come from mmap and go back at free, so that the
  // resident-memory figures see each instance's own memory and not blocks
  // that an earlier section freed and left in the heap.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);

  if (options.cpuOnly) return RunCpuOnly(options);

  std::string error;
  auto context = host::GLContext::Create(&error);
  if (!context) {
    std::fprintf(stderr, "bench: no GL context: %s\n", error.c_str());
    return 1;
  }
  context->SetFramebufferSize(64, 64);
  bench::Report report;
  report.SetContext(context->Renderer() + ", " + context->Version(), UtcNow());
  RunSections(options, *context, report);
  return PrintReport(options, context->Renderer(), report);
}
