// SPDX-License-Identifier: GPL-3.0-or-later
// Instance churn: a long show creates and deletes instances all evening. The
// dispatcher is linked in here (not loaded from the library) so that the GL
// call recorder sees every GL object the plug-in makes, and so that the
// clock can be frozen for pictures that must match exactly.
#include "ffgl/FFGL.h"
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "host/PlugMainCalls.h"
#include "tests/support/FontChoice.h"
#include "tests/support/GLCallRecorder.h"
#include "tests/support/GLObjectCount.h"
#include "tickora/TimeSource.h"
#include "tickora/DisplayTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <memory>
#include <unistd.h>
#include <vector>

FF_EXPORT FFMixed FF_CALL plugMain(uint32_t functionCode, FFMixed inputValue,
                                   FFInstanceID instanceID);

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr uint32_t kType = 0;
constexpr uint32_t kFont = 5;
constexpr uint32_t kDate = 16;
constexpr uint32_t kHour = 17;

const host::LinkedPlugin plugin(&plugMain);

FFInstanceID Create(uint32_t width, uint32_t height) { return plugin.Instantiate(width, height); }

uint32_t Set(FFInstanceID instance, uint32_t index, float value) {
  return plugin.SetParameter(instance, index, value);
}

uint32_t Frame(FFInstanceID instance, unsigned framebuffer) {
  return plugin.ProcessFrame(instance, framebuffer);
}

uint32_t Delete(FFInstanceID instance) { return plugin.Deinstantiate(instance); }

// Counts every display type with content: a countdown to 23:00 nine days on.
void ChooseType(FFInstanceID instance, int type) {
  Set(instance, kType, static_cast<float>(type));
  Set(instance, kDate, 9.0f);
  Set(instance, kHour, 23.0f);
}

long ResidentBytes() {
  std::FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return -1;
  long size = 0, resident = 0;
  const int read = std::fscanf(file, "%ld %ld", &size, &resident);
  std::fclose(file);
  return read == 2 ? resident * sysconf(_SC_PAGESIZE) : -1;
}

// 2026-12-08 10:09:59.500 UTC.
int64_t FrozenClock() { return 1796724599500; }

class InstanceChurn : public ::testing::Test {
 protected:
  void SetUp() override {
    context = host::GLContext::Create();
    ASSERT_TRUE(context);
    ASSERT_TRUE(context->SetFramebufferSize(128, 72));
    // The first instance loads the plug-in's GL entry points; the recorder
    // goes over that table.
    FFInstanceID first = Create(16, 16);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(Delete(first), FF_SUCCESS);
    recorder = std::make_unique<testing_support::GLCallRecorder>();
    tickora::SetTimeSource(FrozenClock);
  }
  void TearDown() override {
    tickora::SetTimeSource(nullptr);
    recorder.reset();
    plugin.Deinitialise();
  }

  host::Pixels Draw(FFInstanceID instance, int width, int height) {
    EXPECT_TRUE(context->SetFramebufferSize(width, height));
    context->Clear(0, 0, 0, 0);
    EXPECT_EQ(Frame(instance, context->Framebuffer()), FF_SUCCESS);
    return context->ReadPixels();
  }

  std::unique_ptr<host::GLContext> context;
  std::unique_ptr<testing_support::GLCallRecorder> recorder;
};

// Every cycle's objects are gone by its end, counted through the plug-in's
// table; at the end the driver, asked name by name, agrees.
TEST_F(InstanceChurn, ThousandCyclesLeaveNoGLObjectsAndFlatMemory) {
  const int driverObjectsBefore = testing_support::DriverGLObjects();
  struct Size {
    uint32_t width, height;
  };
  const Size sizes[] = {{128, 72}, {64, 64}, {97, 13}, {1, 1}, {0, 0}, {160, 90}, {33, 120}};
  constexpr int kCycles = 1000;
  constexpr int kWarmUp = 150;
  long warm = 0, highest = 0;
  const float serif = testing_support::FontValue(plugin, testing_support::kSerifFamily);
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    const Size size = sizes[cycle % 7];
    FFInstanceID instance = Create(size.width, size.height);
    ASSERT_NE(instance, nullptr) << "cycle " << cycle;
    ChooseType(instance, cycle % tickora::kDisplayTypeCount);
    // Every few cycles a second font, so atlas rebuilds churn too.
    if (cycle % 5 == 0) Set(instance, kFont, serif);
    context->BindFramebuffer();
    ASSERT_EQ(Frame(instance, context->Framebuffer()), FF_SUCCESS) << "cycle " << cycle;
    // The host shows each frame, which lets the driver finish it: llvmpipe
    // keeps every resource a pending frame used, deleted or not, until then.
    context->ReadPixels();
    ASSERT_EQ(Delete(instance), FF_SUCCESS) << "cycle " << cycle;
    ASSERT_EQ(recorder->LiveObjects(), 0)
        << "cycle " << cycle << ": " << recorder->DescribeLive();
    if (cycle + 1 == kWarmUp) warm = ResidentBytes();
    if (cycle + 1 > kWarmUp) highest = std::max(highest, ResidentBytes());
  }
  // Every cycle made objects: the count of zero above is not for lack of any.
  EXPECT_GE(recorder->Count("CreateProgram"), 2 * kCycles);
  EXPECT_GT(recorder->Count("GenTextures"), kCycles / 2);
  EXPECT_EQ(recorder->Count("CreateProgram"), recorder->Count("DeleteProgram"));
  EXPECT_EQ(testing_support::DriverGLObjects(), driverObjectsBefore);
  EXPECT_EQ(host::TakeGLError(), 0u);

  const long growth = highest - warm;
  RecordProperty("resident_growth_kib", std::to_string(growth / 1024));
  // AddressSanitizer holds freed memory in quarantine, so residency says
  // nothing there; LeakSanitizer checks that build at exit instead.
  if (!kAddressSanitizer) {
    EXPECT_LE(growth, 2 * 1024 * 1024) << "resident after warm-up " << warm / 1024
                                       << " KiB, highest after " << highest / 1024 << " KiB";
  }
}

// Several instances at different sizes, each drawn in turn frame by frame,
// draw exactly what each draws alone: no state of one leaks into another.
TEST_F(InstanceChurn, InterleavedInstancesDrawAsEachAlone) {
  struct Layer {
    int type, width, height;
    const char* font;
  };
  using testing_support::kSansFamily;
  using testing_support::kSerifFamily;
  const Layer layers[] = {{0, 160, 90, kSansFamily}, {1, 120, 120, kSansFamily},
                          {2, 200, 60, kSerifFamily}, {0, 48, 96, kSerifFamily}};
  std::vector<host::Pixels> alone;
  for (const Layer& layer : layers) {
    FFInstanceID instance = Create(static_cast<uint32_t>(layer.width), static_cast<uint32_t>(layer.height));
    ASSERT_NE(instance, nullptr);
    ChooseType(instance, layer.type);
    Set(instance, kFont, testing_support::FontValue(plugin, layer.font));
    alone.push_back(Draw(instance, layer.width, layer.height));
    ASSERT_EQ(Delete(instance), FF_SUCCESS);
    ASSERT_GT(host::CountInk(alone.back()), 20) << "type " << layer.type << " drew nothing alone";
  }

  std::vector<FFInstanceID> instances;
  for (const Layer& layer : layers) {
    instances.push_back(Create(static_cast<uint32_t>(layer.width), static_cast<uint32_t>(layer.height)));
    ASSERT_NE(instances.back(), nullptr);
    ChooseType(instances.back(), layer.type);
    Set(instances.back(), kFont, testing_support::FontValue(plugin, layer.font));
  }
  for (int frame = 0; frame < 3; ++frame) {
    for (size_t i = 0; i < instances.size(); ++i) {
      const host::Pixels pixels = Draw(instances[i], layers[i].width, layers[i].height);
      EXPECT_TRUE(pixels.rgba == alone[i].rgba) << "instance " << i << ", frame " << frame;
    }
  }
  for (FFInstanceID instance : instances) EXPECT_EQ(Delete(instance), FF_SUCCESS);
  EXPECT_EQ(recorder->LiveObjects(), 0);
}

}  // namespace
