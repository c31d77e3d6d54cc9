// SPDX-License-Identifier: GPL-3.0-or-later
// Smoke test of the Windows DLL through its only export, plugMain, in the
// way a Windows FFGL host uses it: a hidden window with a 4.1 core WGL
// context, an FBO, LoadLibrary. Under Wine it asserts coarse facts only
// (ink where the clock is, the codes' answers), never pixels drawn
// elsewhere: the clock modes compare frames of this DLL with each other.
//
//   tickora-smoke.exe [path\to\Tickora.dll]
//   tickora-smoke.exe path\to\Tickora.dll --clock-reference FILE
//   tickora-smoke.exe path\to\Tickora.dll --clock-zone ZONE FILE [--keep-tz]
// The two clock modes read the Digital read-out at the instants of
// host/ClockChanges.h, under a clock frozen by libfaketime (see
// scripts/ci-windows.sh): the first, run in UTC, writes the reference frames'
// hashes to FILE, the second reads them and checks the table's rows for ZONE.
// Exit status: 0 all checks passed, 1 some failed, 2 no GL context or no DLL.

#include "ffgl/FFGL.h"
#include "host/ClockChanges.h"
#include "host/Ink.h"
#include "tickora/ClockParameters.h"
#include "tickora/Version.h"
#include "windows/PluginDll.h"
#include "windows/Report.h"
#include "windows/WglContext.h"

#include <windows.h>

#include <cinttypes>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using host::Ink;
using smoke::PluginDll;
using smoke::Report;
using smoke::WglContext;

namespace {

// What the host must read, from the clock's own parameter table.
const std::vector<tickora::HostSlot> kSlots = tickora::HostSlots();
const uint32_t kParameterCount = static_cast<uint32_t>(kSlots.size());

constexpr uint32_t kType = tickora::IndexOf(tickora::ParamId::kType);
constexpr uint32_t kFont = tickora::IndexOf(tickora::ParamId::kFont);
constexpr uint32_t kDate = tickora::IndexOf(tickora::ParamId::kDate);
constexpr uint32_t kHour = tickora::IndexOf(tickora::ParamId::kHour);
// The "Type" elements: every display type the clock has.
const char* const* const kTypeNames = tickora::kParamTable[0].listed.data();
int TypeCount() {
  int count = 0;
  while (count < static_cast<int>(tickora::kParamTable[0].listed.size()) &&
         kTypeNames[count] != nullptr)
    ++count;
  return count;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof(text), format, args);
  va_end(args);
  return text;
}

// Parameters the host shows for a display type (no "Target" typed).
bool ShownFor(int type, uint32_t index) {
  return index < kParameterCount && tickora::ShownFor(*kSlots[index].row, type);
}

// A host keeps 16 bytes of a name.
std::string AsHostReads(const std::string& name) { return name.substr(0, 16); }

class Smoke {
 public:
  Smoke(Report& report, WglContext& context, PluginDll& dll)
      : report(report), context(context), dll(dll) {}

  void Identity() {
    report.Section("Identity");
    const PluginInfoStruct* info = dll.Info();
    if (!report.Check(info != nullptr, "information record (code 0)")) return;
    const std::string id(info->PluginUniqueID, strnlen(info->PluginUniqueID, 4));
    const std::string name(info->PluginName, strnlen(info->PluginName, 16));
    report.Check(info->APIMajorVersion == 2 && info->APIMinorVersion == 1,
                 Format("API %u.%u", info->APIMajorVersion, info->APIMinorVersion));
    report.Check(id == "Wmpx", "identifier \"" + id + "\"");
    report.Check(name == "Tickora", "name \"" + name + "\"");
    report.Check(info->PluginType == FF_SOURCE, Format("type %u (source)", info->PluginType));
    const PluginExtendedInfoStruct* extended = dll.ExtendedInfo();
    if (report.Check(extended != nullptr, "extended information record (code 13)")) {
      // The DLL must report the version of the build it came from.
      report.Check(extended->PluginMajorVersion == TICKORA_VERSION_MAJOR &&
                       extended->PluginMinorVersion == TICKORA_VERSION_MINOR,
                   Format("version %u.%u (build %s)", extended->PluginMajorVersion,
                          extended->PluginMinorVersion, TICKORA_VERSION_STRING));
      const std::string about = extended->About != nullptr ? extended->About : "(null)";
      report.Check(about == "Quorvane", "about \"" + about + "\"");
    }
    report.Check(dll.CallCode(FF_INITIALISE_V2, PluginDll::Mixed(0u)) == FF_SUCCESS,
                 "initialise (code 34)");
  }

  void Parameters() {
    report.Section("Parameters");
    const uint32_t count = dll.NumParameters();
    report.Check(count == kParameterCount, Format("%u parameters", count));
    std::string names;
    bool namesMatch = count == kParameterCount;
    bool typesMatch = count == kParameterCount;
    for (uint32_t i = 0; i < count; ++i) {
      const std::string name = dll.ParameterName(i);
      names += (i == 0 ? "" : ", ") + name;
      if (i < kParameterCount) {
        namesMatch = namesMatch && name == AsHostReads(kSlots[i].name);
        typesMatch = typesMatch && dll.ParameterType(i) == kSlots[i].type;
      }
    }
    report.Check(namesMatch, "names in order");
    report.Note(names);
    report.Check(typesMatch, "types in order");

    const uint32_t families = dll.NumElements(kFont);
    report.Check(families > 0, Format("\"Font\" lists %u installed families", families));
    const float fontDefault = dll.ParameterDefault(kFont);
    if (fontDefault >= 0.0f && fontDefault < static_cast<float>(families)) {
      report.Note(Format("\"Font\" default %d: %s", static_cast<int>(fontDefault),
                         dll.ElementName(kFont, static_cast<uint32_t>(fontDefault)).c_str()));
    } else {
      report.Note(Format("\"Font\" default %g: no \"Arial\", the default sans family is used",
                         fontDefault));
    }
    for (uint32_t i = 0; i < families && i < 8; ++i)
      report.Note(Format("family %u: %s", i, dll.ElementName(kFont, i).c_str()));
    report.Check(dll.NumElements(kDate) == 10, Format("\"Date\" lists %u days",
                                                      dll.NumElements(kDate)));
    report.Note("first date: " + dll.ElementName(kDate, 0));
  }

  bool Instantiate(int width, int height) {
    report.Section("Instance");
    instance = dll.Instantiate(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    if (!report.Check(instance != nullptr, Format("instantiate %dx%d (code 18)", width, height)))
      return false;
    dll.TakeEvents(instance);  // the set-up's own visibility events
    report.Check(dll.GetParameter(instance, kType) == 0.0f, "starts as Digital");
    return true;
  }

  // One frame of each display type into a cleared framebuffer.
  void Frames() {
    report.Section("Frames");
    // Countdown to 23:00 nine days ahead always has digits to show.
    report.Check(dll.SetParameter(instance, kDate, 9.0f) == FF_SUCCESS &&
                     dll.SetParameter(instance, kHour, 23.0f) == FF_SUCCESS,
                 "countdown target: Date 9, Hour 23");
    for (int type = 0; type < TypeCount(); ++type) {
      const Ink ink = Frame(type);
      if (type == 0) digitalWidth = ink.Width();
    }
  }

  void Resize(int width, int height) {
    report.Section("Resize");
    report.Check(dll.Resize(instance, static_cast<uint32_t>(width),
                            static_cast<uint32_t>(height)) == FF_SUCCESS,
                 Format("resize to %dx%d (code 23)", width, height));
    if (!report.Check(context.SetFramebufferSize(width, height), "host framebuffer resized"))
      return;
    const Ink ink = Frame(0);
    // The read-out is laid out in viewport units: it grows with the frame.
    report.Check(ink.Width() > digitalWidth * 3 / 2,
                 Format("read-out %d px wide, was %d px", ink.Width(), digitalWidth));
  }

  void Visibility() {
    report.Section("Visibility");
    // Every type in turn from Digital, and back to Digital.
    std::vector<int> order;
    for (int type = 1; type < TypeCount(); ++type) order.push_back(type);
    order.push_back(0);
    int previous = 0;
    SetType(previous);
    dll.TakeEvents(instance);
    for (int type : order) {
      SetType(type);
      // A change of type is applied by the next frame, not by the setting.
      report.Check(dll.TakeEvents(instance).empty(),
                   Format("%s -> %s: no events before the frame", kTypeNames[previous],
                          kTypeNames[type]));
      context.Clear(0, 0, 0, 0);
      dll.ProcessFrame(instance, context.Framebuffer());
      const auto events = dll.TakeEvents(instance);
      std::set<uint32_t> raised;
      bool allVisibility = true;
      for (const ParamEventStruct& event : events) {
        raised.insert(event.ParameterNumber);
        allVisibility = allVisibility && (event.eventFlags & FF_EVENT_FLAG_VISIBILITY) != 0;
      }
      const bool fontOnward = raised.size() == kParameterCount - kFont &&
                              *raised.begin() == kFont && *raised.rbegin() == kParameterCount - 1;
      report.Check(events.size() == kParameterCount - kFont && fontOnward && allVisibility,
                   Format("%s -> %s: %u visibility events for \"Font\" onward",
                          kTypeNames[previous], kTypeNames[type],
                          static_cast<unsigned>(events.size())));
      std::string shown;
      bool asExpected = true;
      for (uint32_t i = 0; i < kParameterCount; ++i) {
        const uint32_t visible = dll.Visibility(instance, i);
        asExpected = asExpected && visible == (ShownFor(type, i) ? 1u : 0u);
        if (visible == 1u) shown += (shown.empty() ? "" : " ") + std::to_string(i);
      }
      report.Check(asExpected, Format("%s shows its parameters", kTypeNames[type]));
      report.Note("shown: " + shown);
      previous = type;
    }
  }

  void Delete() {
    report.Section("Delete");
    report.Check(dll.Deinstantiate(instance) == FF_SUCCESS, "delete instance (code 19)");
    report.Check(dll.Deinstantiate(instance) == FF_FAIL, "a deleted handle is refused");
    instance = nullptr;
    report.Check(dll.CallCode(FF_DEINITIALISE, PluginDll::Mixed(0u)) == FF_SUCCESS,
                 "deinitialise (code 2)");
  }

  // Deletes the instance if a failed step left it alive.
  void Abandon() {
    if (instance != nullptr) dll.Deinstantiate(instance);
    instance = nullptr;
  }

 private:
  void SetType(int type) { dll.SetParameter(instance, kType, static_cast<float>(type)); }

  Ink Frame(int type) {
    const char* name = kTypeNames[type];
    report.Check(dll.SetParameter(instance, kType, static_cast<float>(type)) == FF_SUCCESS,
                 Format("%s: set \"Type\" %d", name, type));
    context.Clear(0, 0, 0, 0);
    const unsigned framebuffer = context.Framebuffer();
    report.Check(dll.ProcessFrame(instance, framebuffer) == FF_SUCCESS,
                 Format("%s: frame (code 17)", name));
    report.Check(context.BoundFramebuffer() == framebuffer,
                 Format("%s: host framebuffer still bound", name));
    const host::Pixels pixels = context.ReadPixels();
    const Ink ink = MeasureInk(pixels);
    const int w = pixels.width;
    const int h = pixels.height;
    report.Note(Format("%dx%d: %d ink px, box x %d-%d y %d-%d, %d red", w, h, ink.count,
                       ink.left, ink.right, ink.top, ink.bottom, ink.red));
    report.Check(ink.count > w * h / 100, Format("%s: ink drawn", name));
    report.Check(ink.red > ink.count * 9 / 10, Format("%s: ink is the default red", name));
    const int corner = h / 10;
    const int corners = host::InkInBox(pixels, 0, 0, corner, corner) +
                        host::InkInBox(pixels, w - corner, 0, w, corner) +
                        host::InkInBox(pixels, 0, h - corner, corner, h) +
                        host::InkInBox(pixels, w - corner, h - corner, w, h);
    report.Check(corners == 0, Format("%s: corners empty", name));
    if (type == 1) {
      // All three hands start at the centre of the face.
      const int hub = host::InkInBox(pixels, w / 2 - 4, h / 2 - 4, w / 2 + 4, h / 2 + 4);
      report.Check(hub > 16, Format("%s: hands meet at the centre", name));
    } else {
      // A centred row of glyphs across a good part of the frame.
      const bool centred = std::fabs(ink.CentreX() - w / 2.0) < w * 0.15 &&
                           std::fabs(ink.CentreY() - h / 2.0) < h * 0.2;
      report.Check(centred && ink.Width() > w / 3 && ink.Width() > ink.Height(),
                   Format("%s: a centred row of digits", name));
    }
    return ink;
  }

  Report& report;
  WglContext& context;
  PluginDll& dll;
  FFInstanceID instance = nullptr;
  int digitalWidth = 0;
};

// The Digital read-out at frozen instants, in the zone Wine took from the
// unix side. Windows itself sets no TZ variable, but Wine copies the unix one
// into the process: it is removed before anything converts a time, unless
// --keep-tz asks to see what the DLL does with it (as for a user who set TZ).
class ClockCheck {
 public:
  ClockCheck(Report& report, WglContext& context, PluginDll& dll)
      : report(report), context(context), dll(dll) {}
  ~ClockCheck() {
    if (instance != nullptr) dll.Deinstantiate(instance);
  }

  static void Environment(bool keepTz) {
    if (!keepTz) {
      _putenv("TZ=");
      SetEnvironmentVariableA("TZ", nullptr);
    }
  }

  bool Start() {
    report.Section("Clock");
    const char* tz = std::getenv("TZ");
    report.Note(std::string("TZ in the environment: ") + (tz != nullptr ? tz : "none"));
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    char name[64] = {};
    WideCharToMultiByte(CP_UTF8, 0, zone.StandardName, -1, name, sizeof name, nullptr, nullptr);
    report.Note(Format("Windows zone: %s, bias %ld min", name, zone.Bias));
    if (!report.Check(dll.Initialise(), "initialise") ||
        !report.Check(context.SetFramebufferSize(320, 180), "framebuffer 320x180"))
      return false;
    instance = dll.Instantiate(320, 180);
    return report.Check(instance != nullptr, "instantiate 320x180, Digital");
  }

  void WriteReferences(const std::string& path) {
    host::ReadoutsByHash references;
    const auto frames = host::ReferenceFrames();
    for (const host::ReferenceFrame& frame : frames)
      references[host::FrameHash(FrameAt(frame.utcSeconds))] = frame.readout;
    // Fewer hashes than read-outs: the clock did not follow the file, or two
    // read-outs look alike, and reading back would prove nothing.
    report.Check(references.size() == frames.size(),
                 Format("%u reference read-outs, %u distinct frames",
                        static_cast<unsigned>(frames.size()),
                        static_cast<unsigned>(references.size())));
    FILE* out = std::fopen(path.c_str(), "w");
    bool written = out != nullptr;
    for (const auto& entry : references)
      written = written && std::fprintf(out, "%016" PRIx64 " %s\n", entry.first,
                                        entry.second.c_str()) > 0;
    written = out != nullptr && std::fclose(out) == 0 && written;
    report.Check(written, "references written to " + path);
  }

  void CheckZone(const std::string& zone, const std::string& path) {
    host::ReadoutsByHash references;
    if (FILE* in = std::fopen(path.c_str(), "r")) {
      uint64_t hash = 0;
      char readout[16];
      while (std::fscanf(in, "%" SCNx64 " %15s", &hash, readout) == 2) references[hash] = readout;
      std::fclose(in);
    }
    if (!report.Check(references.size() == host::ReferenceFrames().size(),
                      Format("%u reference frames from %s",
                             static_cast<unsigned>(references.size()), path.c_str())))
      return;
    for (const host::ClockChange& change : host::ClockChanges()) {
      if (zone != change.zone) continue;
      const std::string shown = host::ReadBack(references, FrameAt(change.utcSeconds));
      report.Check(shown == change.readout,
                   Format("%s, %s (%" PRId64 " UTC): %s, Linux %s", change.zone, change.what,
                          change.utcSeconds, shown.c_str(), change.readout));
    }
  }

 private:
  host::Pixels FrameAt(int64_t utcSeconds) {
    if (!host::SetFrozenClock(utcSeconds) && !clockFailed)
      clockFailed = !report.Check(false, "FAKETIME_TIMESTAMP_FILE names a writable file");
    context.Clear(0, 0, 0, 0);
    dll.ProcessFrame(instance, context.Framebuffer());
    return context.ReadPixels();
  }

  Report& report;
  WglContext& context;
  PluginDll& dll;
  FFInstanceID instance = nullptr;
  bool clockFailed = false;
};

bool AtLeast41(const std::string& version) {
  int major = 0;
  int minor = 0;
  if (std::sscanf(version.c_str(), "%d.%d", &major, &minor) != 2) return false;
  return major > 4 || (major == 4 && minor >= 1);
}

void RunSmoke(Report& report, WglContext& context, PluginDll& dll) {
  Smoke smoke(report, context, dll);
  smoke.Identity();
  smoke.Parameters();
  if (smoke.Instantiate(320, 180)) {
    smoke.Frames();
    smoke.Resize(640, 360);
    smoke.Visibility();
    smoke.Delete();
  }
  smoke.Abandon();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "Tickora.dll";
  const std::string mode = argc > 2 ? argv[2] : "";
  const bool reference = mode == "--clock-reference" && argc == 4;
  const bool keepTz = argc == 6 && std::strcmp(argv[5], "--keep-tz") == 0;
  const bool zone = mode == "--clock-zone" && (argc == 5 || keepTz);
  if (argc > 2 && !reference && !zone) {
    std::printf("usage: tickora-smoke.exe DLL [--clock-reference FILE | "
                "--clock-zone ZONE FILE [--keep-tz]]\n");
    return 2;
  }
  if (reference || zone) ClockCheck::Environment(keepTz);
  Report report;
  std::printf("Tickora smoke test: %s\n", path.c_str());

  report.Section("OpenGL");
  std::string error;
  auto context = WglContext::Create(&error);
  if (!context) {
    std::printf("  FAIL  %s\n", error.c_str());
    return 2;
  }
  report.Note(context->Renderer() + ", " + context->Version());
  report.Check(AtLeast41(context->Version()) && context->IsCoreProfile(),
               "4.1 core context from wglCreateContextAttribsARB");
  report.Check(context->SetFramebufferSize(320, 180), "RGBA8 framebuffer object 320x180");

  report.Section("Load");
  auto dll = PluginDll::Load(path, &error);
  if (!dll) {
    std::printf("  FAIL  %s\n", error.c_str());
    return 2;
  }
  report.Check(true, "LoadLibrary + GetProcAddress(\"plugMain\")");

  if (reference || zone) {
    ClockCheck clock(report, *context, *dll);
    if (clock.Start()) {
      if (reference) clock.WriteReferences(argv[3]);
      else clock.CheckZone(argv[3], argv[4]);
    }
  } else {
    RunSmoke(report, *context, *dll);
  }
  std::printf("\n%d checks, %d failed: %s\n", report.Checks(), report.Failures(),
              report.Failures() == 0 ? "PASS" : "FAIL");
  return report.Failures() == 0 ? 0 : 1;
}

