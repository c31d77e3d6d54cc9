// SPDX-License-Identifier: GPL-3.0-or-later
// The dispatcher's order of calls into an instance, seen through an effect
// that records them. The plug-in's entry objects are linked in and a second
// registration replaces Tickora's factory, so plugMain drives the spy exactly
// as it drives the clock.
#include "ffgl/CFFGLPlugin.h"
#include "ffgl/FFGL.h"
#include "ffgl/Mixed.h"
#include "ffgl/PluginRegistration.h"
#include "tests/support/GLTestContext.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

extern "C" FFMixed plugMain(uint32_t functionCode, FFMixed inputValue, FFInstanceID instanceID);

namespace {

using ffgl::MixedPointer;
using ffgl::MixedUInt;

struct Spy {
  std::vector<std::string> calls;
  FFResult initResult = FF_SUCCESS;
  FFResult connectResult = FF_SUCCESS;
  uint32_t failSetIndex = 0xFFFFFFFFu;
  bool throwInFrame = false;
  bool throwInInit = false;
  bool failFactory = false;
  int live = 0;
};
Spy spy;

class SpyEffect : public ffgl::CFFGLPlugin {
 public:
  SpyEffect() : ffgl::CFFGLPlugin(FF_EFFECT) {
    SetParamInfo(0, "Slider", FF_TYPE_STANDARD, 1.5f);
    SetParamInfo(1, "Words", FF_TYPE_TEXT, 0.0f);
    SetOptionParamInfo(2, "Pick", 3, 2.0f);
    for (uint32_t e = 0; e < 3; ++e) SetParamElementInfo(2, e, "e", static_cast<float>(e));
    ++spy.live;
  }
  ~SpyEffect() override {
    spy.calls.push_back("~");
    --spy.live;
  }
  FFResult InitGL(const FFGLViewportStruct*) override {
    spy.calls.push_back("InitGL");
    if (spy.throwInInit) throw std::runtime_error("init");
    return spy.initResult;
  }
  FFResult DeInitGL() override { return Log("DeInitGL"); }
  FFResult SetFloatParameter(uint32_t index, float value) override {
    spy.calls.push_back("SetFloat " + std::to_string(index) + "=" + std::to_string(value));
    return index == spy.failSetIndex ? FF_FAIL : FF_SUCCESS;
  }
  FFResult SetTextParameter(uint32_t index, const char* value) override {
    spy.calls.push_back("SetText " + std::to_string(index) + "=" + value);
    text = value;
    return FF_SUCCESS;
  }
  char* GetTextParameter(uint32_t) override { return &text[0]; }
  FFResult ProcessOpenGL(ProcessOpenGLStruct*) override {
    spy.calls.push_back("Frame");
    if (spy.throwInFrame) throw std::runtime_error("frame");
    return FF_SUCCESS;
  }
  FFResult Connect() override {
    spy.calls.push_back("Connect");
    return spy.connectResult;
  }
  FFResult Disconnect() override { return Log("Disconnect"); }

  std::string text;

 private:
  static FFResult Log(const char* what) {
    spy.calls.push_back(what);
    return FF_SUCCESS;
  }
};

FFResult MakeSpy(ffgl::CFFGLPlugin** instance) {
  if (spy.failFactory) return FF_FAIL;
  *instance = new SpyEffect();
  return FF_SUCCESS;
}

void* const kAllOnes = reinterpret_cast<void*>(UINTPTR_MAX);

using Calls = std::vector<std::string>;

class Dispatch : public testing_support::GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    static ffgl::PluginRegistration registration;
    ffgl::RegisterPlugin(registration, MakeSpy, "Spy!", "Spy", 2, 1, 1, 0, FF_EFFECT, "", "", 0, nullptr);
    plugMain(FF_DEINITIALISE, MixedUInt(0u), nullptr);
    spy = Spy();
  }
  void TearDown() override {
    plugMain(FF_DEINITIALISE, MixedUInt(0u), nullptr);
    EXPECT_EQ(spy.live, 0) << "an instance was left behind";
  }

  SpyEffect* Make() {
    FFGLViewportStruct viewport{0, 0, 64, 64};
    void* handle = plugMain(FF_INSTANTIATE_GL, MixedPointer(&viewport), nullptr).PointerValue;
    if (handle == kAllOnes || handle == nullptr) return nullptr;
    spy.calls.clear();
    return static_cast<SpyEffect*>(static_cast<ffgl::CFFGLPlugin*>(handle));
  }
  uint32_t Code(uint32_t code, FFMixed input, void* instance) {
    return plugMain(code, input, instance).UIntValue;
  }
  uint32_t Frame(void* instance) {
    ProcessOpenGLStruct frame{};
    return Code(FF_PROCESS_OPENGL, MixedPointer(&frame), instance);
  }
};

TEST_F(Dispatch, CreationFillsDefaultsByTypeThenInitialises) {
  FFGLViewportStruct viewport{0, 0, 64, 64};
  void* handle = plugMain(FF_INSTANTIATE_GL, MixedPointer(&viewport), nullptr).PointerValue;
  ASSERT_NE(handle, kAllOnes);
  EXPECT_EQ(spy.calls, (Calls{"SetFloat 0=1.000000", "SetText 1=", "SetFloat 2=2.000000", "InitGL"}));
  EXPECT_EQ(spy.live, 2) << "the prototype and the instance";
  EXPECT_FALSE(static_cast<ffgl::CFFGLPlugin*>(handle)->glConnected);
  EXPECT_EQ(Code(FF_DEINSTANTIATE_GL, MixedUInt(0u), handle), FF_SUCCESS);
}

TEST_F(Dispatch, FirstFrameConnectsOnceAndDeletionDisconnects) {
  SpyEffect* instance = Make();
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(Code(FF_PROCESS_OPENGL, MixedPointer(nullptr), instance), FF_FAIL);
  EXPECT_TRUE(spy.calls.empty()) << "a null frame record runs nothing";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Frame(instance), FF_SUCCESS);
  EXPECT_EQ(spy.calls, (Calls{"Connect", "Frame", "Frame", "Frame"}));

  spy.calls.clear();
  EXPECT_EQ(Code(FF_DISCONNECT, MixedUInt(0u), instance), FF_SUCCESS);
  EXPECT_EQ(Frame(instance), FF_SUCCESS);
  EXPECT_EQ(Code(FF_DEINSTANTIATE_GL, MixedUInt(0u), instance), FF_SUCCESS);
  EXPECT_EQ(spy.calls, (Calls{"Disconnect", "Connect", "Frame", "Disconnect", "DeInitGL", "~"}));
}

TEST_F(Dispatch, UnconnectedDeletionSkipsDisconnect) {
  SpyEffect* instance = Make();
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(Code(FF_DEINSTANTIATE_GL, MixedUInt(0u), instance), FF_SUCCESS);
  EXPECT_EQ(spy.calls, (Calls{"DeInitGL", "~"}));
  EXPECT_EQ(Code(FF_DEINSTANTIATE_GL, MixedUInt(0u), instance), FF_FAIL) << "deleted handle";
}

TEST_F(Dispatch, FailedConnectLeavesTheFlag) {
  SpyEffect* instance = Make();
  ASSERT_NE(instance, nullptr);
  spy.connectResult = 7;
  EXPECT_EQ(Code(FF_CONNECT, MixedUInt(0u), instance), 7u);
  EXPECT_FALSE(instance->glConnected);
  // The first frame connects whatever Connect answers.
  EXPECT_EQ(Frame(instance), FF_SUCCESS);
  EXPECT_TRUE(instance->glConnected);
  EXPECT_EQ(Frame(instance), FF_SUCCESS);
  EXPECT_EQ(spy.calls, (Calls{"Connect", "Connect", "Frame", "Frame"}));
  EXPECT_EQ(Code(FF_DEINSTANTIATE_GL, MixedUInt(0u), instance), FF_SUCCESS);
}

TEST_F(Dispatch, FailedSetUpDestroysTheInstance) {
  FFGLViewportStruct viewport{0, 0, 64, 64};
  EXPECT_EQ(plugMain(FF_INSTANTIATE_GL, MixedPointer(nullptr), nullptr).PointerValue,
            kAllOnes);
  EXPECT_TRUE(spy.calls.empty());
  EXPECT_EQ(spy.live, 0) << "a null viewport makes nothing, not even the prototype";

  spy.initResult = FF_FAIL;
  EXPECT_EQ(plugMain(FF_INSTANTIATE_GL, MixedPointer(&viewport), nullptr).PointerValue, kAllOnes);
  ASSERT_GE(spy.calls.size(), 3u);
  EXPECT_EQ(Calls(spy.calls.end() - 3, spy.calls.end()), (Calls{"InitGL", "DeInitGL", "~"}));
  EXPECT_EQ(spy.live, 1) << "only the prototype";

  spy = Spy();
  spy.live = 1;
  spy.failSetIndex = 2;
  EXPECT_EQ(plugMain(FF_INSTANTIATE_GL, MixedPointer(&viewport), nullptr).PointerValue, kAllOnes);
  EXPECT_EQ(spy.calls, (Calls{"SetFloat 0=1.000000", "SetText 1=", "SetFloat 2=2.000000", "~"}));
  EXPECT_EQ(spy.live, 1);

  spy.failSetIndex = 0xFFFFFFFFu;
  // A set-up that throws half-way releases what it made, as a failed one does.
  spy.throwInInit = true;
  EXPECT_EQ(plugMain(FF_INSTANTIATE_GL, MixedPointer(&viewport), nullptr).PointerValue, kAllOnes);
  ASSERT_GE(spy.calls.size(), 3u);
  EXPECT_EQ(Calls(spy.calls.end() - 3, spy.calls.end()), (Calls{"InitGL", "DeInitGL", "~"}));
  EXPECT_EQ(spy.live, 1);
}

TEST_F(Dispatch, ExceptionsBecomeFailureValues) {
  SpyEffect* instance = Make();
  ASSERT_NE(instance, nullptr);
  spy.throwInFrame = true;
  EXPECT_EQ(Frame(instance), FF_FAIL);
  spy.throwInFrame = false;
  EXPECT_EQ(Frame(instance), FF_SUCCESS) << "the instance lives on";
  EXPECT_EQ(Code(FF_DEINSTANTIATE_GL, MixedUInt(0u), instance), FF_SUCCESS);
}

// A host may read any answer as a full 64-bit value: failures must be
// exactly FF_FAIL with a clear upper half, null, or all ones, by code.
TEST_F(Dispatch, FailureAnswersAreExactSixtyFourBitValues) {
  SpyEffect* instance = Make();
  ASSERT_NE(instance, nullptr);
  int notAnInstance = 0;
  const auto bits = [](FFMixed mixed) { return reinterpret_cast<uintptr_t>(mixed.PointerValue); };
  for (FFInstanceID handle : {static_cast<FFInstanceID>(&notAnInstance),
                              static_cast<FFInstanceID>(nullptr)}) {
    EXPECT_EQ(bits(plugMain(FF_SET_PARAMETER, MixedUInt(0u), handle)), 0xFFFFFFFFu);
    EXPECT_EQ(bits(plugMain(FF_PROCESS_OPENGL, MixedUInt(0u), handle)), 0xFFFFFFFFu);
    EXPECT_EQ(bits(plugMain(FF_GET_PARAMETER_DISPLAY, MixedUInt(0u), handle)), UINTPTR_MAX);
  }
  EXPECT_EQ(bits(plugMain(FF_GET_PARAMETER_VISIBILITY, MixedUInt(0u), &notAnInstance)),
            0xFFFFFFFFu) << "a stale handle is refused, not taken for the global query";
  EXPECT_EQ(bits(plugMain(FF_GET_PARAMETER_NAME, MixedUInt(99u), nullptr)), 0u);
  ElementIndexStruct which{2, 3};
  EXPECT_EQ(bits(plugMain(FF_GET_PARAMETER_ELEMENT_NAME, MixedPointer(&which), nullptr)), 0u);
  EXPECT_EQ(bits(plugMain(FF_GET_PARAMETER_ELEMENT_VALUE, MixedPointer(&which), nullptr)),
            0xFFFFFFFFu);
  // Success codes have a clear upper half too.
  EXPECT_EQ(bits(plugMain(FF_GET_NUM_PARAMETERS, MixedUInt(0u), nullptr)), 3u);
  EXPECT_EQ(bits(plugMain(FF_DEINSTANTIATE_GL, MixedUInt(0u), instance)), 0u);
}

TEST_F(Dispatch, TextParametersGoThroughText) {
  SpyEffect* instance = Make();
  ASSERT_NE(instance, nullptr);
  SetParameterStruct set{};
  set.ParameterNumber = 1;
  set.NewParameterValue.PointerValue = const_cast<char*>("hello");
  EXPECT_EQ(Code(FF_SET_PARAMETER, MixedPointer(&set), instance), FF_SUCCESS);
  EXPECT_EQ(plugMain(FF_GET_PARAMETER, MixedUInt(1u), instance).PointerValue, instance->text.data());
  EXPECT_EQ(instance->text, "hello");
  const auto* defaultText = static_cast<const char*>(
      plugMain(FF_GET_PARAMETER_DEFAULT, MixedUInt(1u), nullptr).PointerValue);
  ASSERT_NE(defaultText, nullptr);
  EXPECT_STREQ(defaultText, "");
  EXPECT_EQ(spy.calls, (Calls{"SetText 1=hello"}));
  EXPECT_EQ(Code(FF_DEINSTANTIATE_GL, MixedUInt(0u), instance), FF_SUCCESS);
}

TEST_F(Dispatch, InstanceStateStaysWithTheInstance) {
  SpyEffect* instance = Make();
  ASSERT_NE(instance, nullptr);
  SetElementValueStruct change{2, 1, 9.0f};
  EXPECT_EQ(Code(FF_SET_PARAMETER_ELEMENT_VALUE, MixedPointer(&change), instance), FF_SUCCESS);
  EXPECT_EQ(instance->FindParam(2)->elements[1].value, 9.0f);
  ElementIndexStruct which{2, 1};
  EXPECT_EQ(plugMain(FF_GET_PARAMETER_ELEMENT_VALUE, MixedPointer(&which), nullptr).FloatValue, 1.0f);

  instance->SetParamVisibility(0, false);
  instance->RaiseParamEvent(0, FF_EVENT_FLAG_VISIBILITY);
  instance->RaiseParamEvent(0, FF_EVENT_FLAG_VISIBILITY);
  EXPECT_EQ(Code(FF_GET_PARAMETER_VISIBILITY, MixedUInt(0u), instance), 0u);
  EXPECT_EQ(Code(FF_GET_PARAMETER_VISIBILITY, MixedUInt(0u), nullptr), 1u);
  ParamEventStruct events[4] = {};
  ParameterEventsStruct harvest{4, events};
  EXPECT_EQ(Code(FF_GET_PARAMETER_EVENTS, MixedPointer(&harvest), instance), FF_SUCCESS);
  ASSERT_EQ(harvest.numEvents, 1u);
  EXPECT_EQ(events[0].ParameterNumber, 0u);
  EXPECT_EQ(events[0].eventFlags, FF_EVENT_FLAG_VISIBILITY);

  double time = 12.5;
  BeatInfoStruct beat{90.0f, 0.25f};
  char name[] = "Host";
  char version[] = "2.0";
  HostInfoStruct info{name, version};
  EXPECT_EQ(Code(FF_SET_TIME, MixedPointer(&time), instance), FF_SUCCESS);
  EXPECT_EQ(Code(FF_SET_BEATINFO, MixedPointer(&beat), instance), FF_SUCCESS);
  EXPECT_EQ(Code(FF_SET_HOSTINFO, MixedPointer(&info), instance), FF_SUCCESS);
  EXPECT_EQ(Code(FF_SET_SAMPLERATE, MixedUInt(48000u), instance), FF_SUCCESS);
  name[0] = 'X';
  version[0] = 'X';
  EXPECT_EQ(instance->hostTime, 12.5);
  EXPECT_EQ(instance->bpm, 90.0f);
  EXPECT_EQ(instance->barPhase, 0.25f);
  EXPECT_EQ(instance->hostName, "Host");
  EXPECT_EQ(instance->hostVersion, "2.0");
  EXPECT_EQ(instance->sampleRate, 48000u);

  // An effect has one input.
  EXPECT_EQ(Code(FF_GET_INPUT_STATUS, MixedUInt(0u), instance), 1u);
  EXPECT_EQ(Code(FF_GET_INPUT_STATUS, MixedUInt(1u), instance), FF_FAIL);
  EXPECT_EQ(Code(FF_GET_PLUGIN_CAPS, MixedUInt(FF_CAP_MINIMUM_INPUT_FRAMES), nullptr), 1u);
  EXPECT_EQ(Code(FF_GET_PLUGIN_CAPS, MixedUInt(FF_CAP_MAXIMUM_INPUT_FRAMES), nullptr), 1u);
  EXPECT_EQ(Code(FF_DEINSTANTIATE_GL, MixedUInt(0u), instance), FF_SUCCESS);
}

TEST_F(Dispatch, NoPrototypeFailsEveryGlobalQueryUntilOneCanBeMade) {
  spy.failFactory = true;
  RangeStruct range{0, 7.0f, 7.0f};
  ElementIndexStruct which{2, 0};
  FFGLViewportStruct viewport{0, 0, 64, 64};
  for (uint32_t code : {FF_GET_NUM_PARAMETERS, FF_GET_PARAMETER_DEFAULT, FF_GET_PLUGIN_CAPS,
                        FF_GET_PARAMETER_TYPE, FF_GET_NUM_PARAMETER_ELEMENTS,
                        FF_GET_PARAMETER_USAGE, FF_INITIALISE_V2,
                        FF_GET_NUM_FILE_PARAMETER_EXTENSIONS, FF_GET_PARAMETER_VISIBILITY})
    EXPECT_EQ(Code(code, MixedUInt(0u), nullptr), FF_FAIL) << "code " << code;
  for (uint32_t code : {FF_GET_PARAMETER_NAME, FF_GET_PLUGIN_SHORT_NAME})
    EXPECT_EQ(plugMain(code, MixedUInt(0u), nullptr).PointerValue, nullptr) << "code " << code;
  EXPECT_EQ(plugMain(FF_GET_PARAMETER_ELEMENT_NAME, MixedPointer(&which), nullptr).PointerValue, nullptr);
  EXPECT_EQ(Code(FF_GET_PARAMETER_ELEMENT_VALUE, MixedPointer(&which), nullptr), FF_FAIL);
  EXPECT_EQ(Code(FF_GET_RANGE, MixedPointer(&range), nullptr), FF_FAIL);
  EXPECT_EQ(range.min, 7.0f) << "the record is left untouched";
  EXPECT_EQ(range.max, 7.0f);
  EXPECT_EQ(plugMain(FF_INSTANTIATE_GL, MixedPointer(&viewport), nullptr).PointerValue, kAllOnes);
  EXPECT_NE(plugMain(FF_GET_INFO, MixedUInt(0u), nullptr).PointerValue, nullptr);

  spy.failFactory = false;
  EXPECT_EQ(Code(FF_GET_NUM_PARAMETERS, MixedUInt(0u), nullptr), 3u);
}

}  // namespace
