// SPDX-License-Identifier: GPL-3.0-or-later
// plugMain: the single export. A table maps each function code to its
// handler and to the value the code answers when it cannot complete. Global
// codes are answered from a prototype instance; per-instance codes reach
// their handler only through LiveInstance, the one place a handle becomes an
// instance.
//
// Nothing from a host is trusted: record pointers are checked for null,
// instance handles are checked against the instances this library made (so a
// deleted or foreign handle is refused instead of dereferenced), and no C++
// exception ever leaves this function.
//
// Threads: hosts that render layers on worker threads call in from several
// threads at once, each with its own context and its own instances. What
// the process shares (the prototype, the list of live instances, the GL
// loading) is only touched under processLock, held for lookups and
// bookkeeping, never across an instance's GL work: frames of different
// instances run in parallel. An instance itself belongs to one thread at a
// time (the host contract in the README).
#include "ffgl/CFFGLPlugin.h"
#include "ffgl/FFGL.h"
#include "ffgl/GLEntryPoints.h"
#include "ffgl/HostGLState.h"
#include "ffgl/InstanceContext.h"
#include "ffgl/Mixed.h"
#include "ffgl/PluginRegistration.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <new>
#include <optional>
#include <vector>

namespace {

using ffgl::MixedFloat;
using ffgl::MixedPointer;
using ffgl::MixedUInt;
using ffgl::CFFGLPlugin;
using ffgl::GetPluginRegistration;
using ffgl::ParamElement;
using ffgl::ParamInfo;
using ffgl::PluginRegistration;

// A handler's answer; none when the code could not complete, in which case
// the caller answers the code's failure value from the table.
using Answer = std::optional<FFMixed>;
constexpr std::nullopt_t kFailed = std::nullopt;

template <typename Record>
Record* RecordOf(FFMixed input) {
  return static_cast<Record*>(input.PointerValue);
}

// ------------------------------------------- the prototype and the instances

std::mutex processLock;
using Lock = std::lock_guard<std::mutex>;

// Everything below is guarded by processLock.
CFFGLPlugin* prototype = nullptr;
// Loading without a context (a host probing the plug-in before it has one)
// says nothing about the contexts to come, so only a loading that had a
// context to look at is final.
enum class GLLoading { kNotYet, kLoaded, kFailed };
GLLoading glLoading = GLLoading::kNotYet;
std::vector<CFFGLPlugin*> liveInstances;

bool EnsurePrototype() {
  if (prototype != nullptr) return true;
  PluginRegistration* registration = GetPluginRegistration();
  if (registration == nullptr || registration->factory == nullptr) return false;
  CFFGLPlugin* made = nullptr;
  if (registration->factory(&made) == FF_FAIL || made == nullptr) return false;
  prototype = made;
  return true;
}

const ParamInfo* PrototypeParam(uint32_t index) {
  return EnsurePrototype() ? prototype->FindParam(index) : nullptr;
}

bool EnsurePrototypeLocked() {
  const Lock lock(processLock);
  return EnsurePrototype();
}

// The type the prototype gives an index, FF_FAIL when there is none.
uint32_t PrototypeParamType(uint32_t index) {
  const Lock lock(processLock);
  return EnsurePrototype() ? prototype->GetParamType(index) : FF_FAIL;
}

// Only pointers this library handed out and has not deleted are instances;
// anything else a host passes is compared, never dereferenced.
CFFGLPlugin* LiveInstance(FFInstanceID handle) {
  if (handle == nullptr) return nullptr;
  const Lock lock(processLock);
  for (CFFGLPlugin* instance : liveInstances)
    if (instance == handle) return instance;
  return nullptr;
}

void DestroyInstance(CFFGLPlugin* instance) {
  {
    const Lock lock(processLock);
    liveInstances.erase(std::remove(liveInstances.begin(), liveInstances.end(), instance),
                        liveInstances.end());
  }
  delete instance;
}

// ------------------------------------------------------------ instantiation

// A new instance with every parameter at its default, and the GL entry
// points loaded: the part of an instantiation that reads what the process
// shares. Null on any failure, with nothing left behind.
CFFGLPlugin* MakeInstance(PluginRegistration& registration) {
  const Lock lock(processLock);
  if (!EnsurePrototype()) return nullptr;
  CFFGLPlugin* instance = nullptr;
  if (registration.factory(&instance) == FF_FAIL || instance == nullptr) return nullptr;
  const uint32_t count = prototype->GetNumParams();
  for (uint32_t i = 0; i < count; ++i) {
    const ParamInfo* record = prototype->FindParam(i);
    FFResult result;
    if (IsStringParamType(prototype->GetParamType(i))) {
      result = instance->SetTextParameter(i, record != nullptr ? record->defaultText.c_str() : "");
    } else {
      result = instance->SetFloatParameter(i, record != nullptr ? record->defaultValue : 0.0f);
    }
    if (result == FF_FAIL) {
      delete instance;
      return nullptr;
    }
  }

  if (glLoading == GLLoading::kNotYet) {
    switch (ffgl::TryLoadGLEntryPoints()) {
      case ffgl::GLLoad::kLoaded: glLoading = GLLoading::kLoaded; break;
      case ffgl::GLLoad::kUnusable: glLoading = GLLoading::kFailed; break;
      case ffgl::GLLoad::kNoContext: break;
    }
  }
  if (glLoading != GLLoading::kLoaded) {
    delete instance;
    return nullptr;
  }
  ffgl::RememberCreatorContext(*instance);
  return instance;
}

// The instance's GL objects, in its own context: no lock is needed, and
// none is held while shaders compile. Any failure releases what was made.
bool InitInstanceGL(CFFGLPlugin& instance, const FFGLViewportStruct* viewport) {
  ffgl::HostGLState hostState;
  FFResult result;
  try {
    result = instance.InitGL(viewport);
  } catch (...) {
    result = FF_FAIL;
  }
  if (result != FF_SUCCESS) instance.DeInitGL();
  return result == FF_SUCCESS;
}

Answer InstantiateGL(FFMixed input) {
  const auto* viewport = RecordOf<const FFGLViewportStruct>(input);
  PluginRegistration* registration = GetPluginRegistration();
  if (registration == nullptr || viewport == nullptr) return kFailed;
  CFFGLPlugin* instance = MakeInstance(*registration);
  if (instance == nullptr) return kFailed;
  try {
    if (!InitInstanceGL(*instance, viewport)) {
      delete instance;
      return kFailed;
    }
    const Lock lock(processLock);
    liveInstances.push_back(instance);
  } catch (...) {
    // No half-built instance may reach the host; push_back may not have run.
    DestroyInstance(instance);
    return kFailed;
  }
  return MixedPointer(instance);
}

// ---------------------------------------------------------- global handlers

Answer GetInfo(FFMixed) {
  PluginRegistration* registration = GetPluginRegistration();
  if (registration == nullptr) return kFailed;
  return MixedPointer(&registration->info);
}

Answer GetExtendedInfo(FFMixed) {
  PluginRegistration* registration = GetPluginRegistration();
  if (registration == nullptr) return kFailed;
  return MixedPointer(&registration->extendedInfo);
}

Answer InitialiseV2(FFMixed) {
  if (!EnsurePrototype()) return kFailed;
  return MixedUInt(FF_SUCCESS);
}

Answer Deinitialise(FFMixed) {
  delete prototype;
  prototype = nullptr;
  return MixedUInt(FF_SUCCESS);
}

Answer GetPluginShortName(FFMixed) {
  if (!EnsurePrototype()) return kFailed;
  return MixedPointer(prototype->GetShortName());
}

Answer GetPluginCaps(FFMixed input) {
  if (!EnsurePrototype()) return kFailed;
  switch (input.UIntValue) {
    case FF_CAP_SET_TIME:
      return MixedUInt(prototype->timeSupported ? FF_SUPPORTED : FF_UNSUPPORTED);
    case FF_CAP_MINIMUM_INPUT_FRAMES:
      return MixedUInt(prototype->minInputs >= 0 ? static_cast<uint32_t>(prototype->minInputs) : 0);
    case FF_CAP_MAXIMUM_INPUT_FRAMES:
      return MixedUInt(prototype->maxInputs >= 0 ? static_cast<uint32_t>(prototype->maxInputs) : 0);
    default:
      return MixedUInt(FF_UNSUPPORTED);
  }
}

Answer GetNumParameters(FFMixed) {
  if (!EnsurePrototype()) return kFailed;
  return MixedUInt(prototype->GetNumParams());
}

Answer GetParameterType(FFMixed input) {
  if (!EnsurePrototype()) return kFailed;
  return MixedUInt(prototype->GetParamType(input.UIntValue));
}

Answer GetParameterName(FFMixed input) {
  const ParamInfo* record = PrototypeParam(input.UIntValue);
  if (record == nullptr) return kFailed;
  return MixedPointer(record->name);
}

Answer GetParameterDefault(FFMixed input) {
  const ParamInfo* record = PrototypeParam(input.UIntValue);
  if (record == nullptr) return kFailed;
  if (IsStringParamType(record->type)) return MixedPointer(record->defaultText.c_str());
  return MixedFloat(record->defaultValue);
}

Answer GetNumParameterElements(FFMixed input) {
  const ParamInfo* record = PrototypeParam(input.UIntValue);
  if (record == nullptr) return kFailed;
  return MixedUInt(static_cast<uint32_t>(record->elements.size()));
}

Answer GetParameterUsage(FFMixed input) {
  const ParamInfo* record = PrototypeParam(input.UIntValue);
  if (record == nullptr) return kFailed;
  return MixedUInt(record->usage);
}

// The option element a record names, or null when either index is out of range.
const ParamElement* ElementOf(FFMixed input) {
  const auto* which = RecordOf<const ElementIndexStruct>(input);
  const ParamInfo* record = which != nullptr ? PrototypeParam(which->ParameterNumber) : nullptr;
  if (record == nullptr || which->ElementNumber >= record->elements.size()) return nullptr;
  return &record->elements[which->ElementNumber];
}

Answer GetParameterElementName(FFMixed input) {
  const ParamElement* element = ElementOf(input);
  if (element == nullptr) return kFailed;
  return MixedPointer(element->name.c_str());
}

Answer GetParameterElementValue(FFMixed input) {
  const ParamElement* element = ElementOf(input);
  if (element == nullptr) return kFailed;
  return MixedFloat(element->value);
}

Answer GetRange(FFMixed input) {
  auto* range = RecordOf<RangeStruct>(input);
  if (range == nullptr || !EnsurePrototype()) return kFailed;
  const ParamInfo* record = prototype->FindParam(range->ParameterNumber);
  range->min = record != nullptr ? record->rangeMin : 0.0f;
  range->max = record != nullptr ? record->rangeMax : 1.0f;
  return MixedUInt(FF_SUCCESS);
}

// No thumbnail: the record is emptied so that a host reading it anyway
// finds no picture.
Answer GetThumbnail(FFMixed input) {
  auto* thumbnail = RecordOf<ThumbnailStruct>(input);
  if (thumbnail != nullptr) {
    thumbnail->width = 0;
    thumbnail->height = 0;
  }
  return kFailed;
}

Answer GetNumFileParameterExtensions(FFMixed input) {
  if (!EnsurePrototype()) return kFailed;
  const ParamInfo* record = prototype->FindParam(input.UIntValue);
  return MixedUInt(record != nullptr ? static_cast<uint32_t>(record->fileExtensions.size()) : 0);
}

Answer GetFileParameterExtension(FFMixed input) {
  const auto* which = RecordOf<const ElementIndexStruct>(input);
  const ParamInfo* record = which != nullptr ? PrototypeParam(which->ParameterNumber) : nullptr;
  if (record == nullptr || which->ElementNumber >= record->fileExtensions.size()) return kFailed;
  return MixedPointer(record->fileExtensions[which->ElementNumber].c_str());
}

// Without a handle the host asks for the initial visibility.
Answer GetParameterVisibility(FFMixed input) {
  const ParamInfo* record = PrototypeParam(input.UIntValue);
  if (record == nullptr) return kFailed;
  return MixedUInt(record->visible ? 1u : 0u);
}

// ----------------------------------------------------- per-instance handlers

Answer InstanceParameterVisibility(CFFGLPlugin& instance, FFMixed input) {
  const ParamInfo* record = instance.FindParam(input.UIntValue);
  if (record == nullptr) return kFailed;
  return MixedUInt(record->visible ? 1u : 0u);
}

Answer GetParameterDisplay(CFFGLPlugin& instance, FFMixed input) {
  return MixedPointer(instance.GetParameterDisplay(input.UIntValue));
}

Answer SetParameter(CFFGLPlugin& instance, FFMixed input) {
  const auto* record = RecordOf<const SetParameterStruct>(input);
  if (record == nullptr) return kFailed;
  const uint32_t index = record->ParameterNumber;
  const uint32_t type = PrototypeParamType(index);
  if (type == FF_FAIL && !EnsurePrototypeLocked()) return kFailed;
  if (IsStringParamType(type)) {
    return MixedUInt(instance.SetTextParameter(
        index, static_cast<const char*>(record->NewParameterValue.PointerValue)));
  }
  return MixedUInt(instance.SetFloatParameter(index, record->NewParameterValue.FloatValue));
}

Answer GetParameter(CFFGLPlugin& instance, FFMixed input) {
  const uint32_t index = input.UIntValue;
  const uint32_t type = PrototypeParamType(index);
  if (type == FF_FAIL && !EnsurePrototypeLocked()) return kFailed;
  if (IsStringParamType(type))
    return MixedPointer(instance.GetTextParameter(index));
  return MixedFloat(instance.GetFloatParameter(index));
}

Answer GetInputStatus(CFFGLPlugin& instance, FFMixed input) {
  return MixedUInt(instance.GetInputStatus(input.UIntValue));
}

Answer ProcessOpenGL(CFFGLPlugin& instance, FFMixed input) {
  auto* frame = RecordOf<ProcessOpenGLStruct>(input);
  if (frame == nullptr) return kFailed;
  if (!ffgl::InCreatorContext(instance)) return kFailed;
  // A host that never sends FF_CONNECT still gets a connected instance.
  if (!instance.glConnected) {
    instance.Connect();
    instance.glConnected = true;
  }
  ffgl::HostGLState hostState;
  return MixedUInt(instance.ProcessOpenGL(frame));
}

Answer DeinstantiateGL(CFFGLPlugin& instance, FFMixed) {
  {
    ffgl::HostGLState hostState;
    if (instance.glConnected) {
      instance.Disconnect();
      instance.glConnected = false;
    }
    // In another context the instance's names are the host's objects:
    // its own stay to go with the context that made them.
    if (ffgl::InCreatorContext(instance)) instance.DeInitGL();
    DestroyInstance(&instance);
  }
  return MixedUInt(FF_SUCCESS);
}

Answer SetTime(CFFGLPlugin& instance, FFMixed input) {
  const auto* time = RecordOf<const double>(input);
  if (time == nullptr) return kFailed;
  return MixedUInt(instance.SetTime(*time));
}

Answer Connect(CFFGLPlugin& instance, FFMixed) {
  const FFResult result = instance.Connect();
  if (result == FF_SUCCESS) instance.glConnected = true;
  return MixedUInt(result);
}

Answer Disconnect(CFFGLPlugin& instance, FFMixed) {
  const FFResult result = instance.Disconnect();
  if (result == FF_SUCCESS) instance.glConnected = false;
  return MixedUInt(result);
}

Answer Resize(CFFGLPlugin& instance, FFMixed input) {
  const auto* viewport = RecordOf<const FFGLViewportStruct>(input);
  if (viewport == nullptr) return kFailed;
  if (!ffgl::InCreatorContext(instance)) return kFailed;
  ffgl::HostGLState hostState;
  return MixedUInt(instance.Resize(viewport));
}

Answer SetParameterElementValue(CFFGLPlugin& instance, FFMixed input) {
  const auto* change = RecordOf<const SetElementValueStruct>(input);
  if (change == nullptr) return kFailed;
  ParamInfo* record = instance.FindParam(change->ParameterNumber);
  if (record == nullptr || change->ElementNumber >= record->elements.size()) return kFailed;
  record->elements[change->ElementNumber].value = change->NewParameterValue;
  return MixedUInt(FF_SUCCESS);
}

Answer SetBeatInfo(CFFGLPlugin& instance, FFMixed input) {
  const auto* beat = RecordOf<const BeatInfoStruct>(input);
  if (beat == nullptr) return kFailed;
  instance.SetBeatInfo(beat->bpm, beat->barPhase);
  return MixedUInt(FF_SUCCESS);
}

Answer SetHostInfo(CFFGLPlugin& instance, FFMixed input) {
  const auto* info = RecordOf<const HostInfoStruct>(input);
  if (info == nullptr) return kFailed;
  instance.SetHostInfo(info->name, info->version);
  return MixedUInt(FF_SUCCESS);
}

Answer SetSampleRate(CFFGLPlugin& instance, FFMixed input) {
  instance.SetSampleRate(input.UIntValue);
  return MixedUInt(FF_SUCCESS);
}

Answer GetParameterEvents(CFFGLPlugin& instance, FFMixed input) {
  auto* events = RecordOf<ParameterEventsStruct>(input);
  if (events == nullptr) return kFailed;
  instance.HarvestParamEvents(*events);
  return MixedUInt(FF_SUCCESS);
}

// ---------------------------------------------------------------- the table

using GlobalHandler = Answer (*)(FFMixed input);
using InstanceHandler = Answer (*)(CFFGLPlugin& instance, FFMixed input);

// What a code answers when it cannot complete: FF_FAIL in the low half, a
// null pointer, or all 64 bits set.
enum class Failure { kCode, kNull, kAllOnes };

// A code with a global handler is answered without an instance; one with an
// instance handler needs a live handle. A code with both takes the global
// route when the host passes no handle.
struct Route {
  GlobalHandler global = nullptr;
  InstanceHandler instance = nullptr;
  Failure failure = Failure::kCode;
};

constexpr uint32_t kCodeCount = FF_GET_PARAMETER_EVENTS + 1;
using RouteTable = std::array<Route, kCodeCount>;

constexpr RouteTable MakeRoutes() {
  RouteTable t{};
  t[FF_GET_INFO] = {GetInfo, nullptr, Failure::kNull};
  t[FF_DEINITIALISE] = {Deinitialise, nullptr, Failure::kCode};
  t[FF_GET_NUM_PARAMETERS] = {GetNumParameters, nullptr, Failure::kCode};
  t[FF_GET_PARAMETER_NAME] = {GetParameterName, nullptr, Failure::kNull};
  t[FF_GET_PARAMETER_DEFAULT] = {GetParameterDefault, nullptr, Failure::kCode};
  t[FF_GET_PARAMETER_DISPLAY] = {nullptr, GetParameterDisplay, Failure::kAllOnes};
  t[FF_SET_PARAMETER] = {nullptr, SetParameter, Failure::kCode};
  t[FF_GET_PARAMETER] = {nullptr, GetParameter, Failure::kCode};
  t[FF_GET_PLUGIN_CAPS] = {GetPluginCaps, nullptr, Failure::kCode};
  t[FF_GET_EXTENDED_INFO] = {GetExtendedInfo, nullptr, Failure::kNull};
  t[FF_GET_PARAMETER_TYPE] = {GetParameterType, nullptr, Failure::kCode};
  t[FF_GET_INPUT_STATUS] = {nullptr, GetInputStatus, Failure::kCode};
  t[FF_PROCESS_OPENGL] = {nullptr, ProcessOpenGL, Failure::kCode};
  t[FF_INSTANTIATE_GL] = {InstantiateGL, nullptr, Failure::kAllOnes};
  t[FF_DEINSTANTIATE_GL] = {nullptr, DeinstantiateGL, Failure::kCode};
  t[FF_SET_TIME] = {nullptr, SetTime, Failure::kCode};
  t[FF_CONNECT] = {nullptr, Connect, Failure::kCode};
  t[FF_DISCONNECT] = {nullptr, Disconnect, Failure::kCode};
  t[FF_RESIZE] = {nullptr, Resize, Failure::kCode};
  t[FF_GET_NUM_PARAMETER_ELEMENTS] = {GetNumParameterElements, nullptr, Failure::kCode};
  t[FF_GET_PARAMETER_USAGE] = {GetParameterUsage, nullptr, Failure::kCode};
  t[FF_GET_PLUGIN_SHORT_NAME] = {GetPluginShortName, nullptr, Failure::kNull};
  t[FF_INITIALISE_V2] = {InitialiseV2, nullptr, Failure::kCode};
  t[FF_GET_PARAMETER_ELEMENT_NAME] = {GetParameterElementName, nullptr, Failure::kNull};
  t[FF_GET_PARAMETER_ELEMENT_VALUE] = {GetParameterElementValue, nullptr, Failure::kCode};
  t[FF_SET_PARAMETER_ELEMENT_VALUE] = {nullptr, SetParameterElementValue, Failure::kCode};
  t[FF_SET_BEATINFO] = {nullptr, SetBeatInfo, Failure::kCode};
  t[FF_SET_HOSTINFO] = {nullptr, SetHostInfo, Failure::kCode};
  t[FF_SET_SAMPLERATE] = {nullptr, SetSampleRate, Failure::kCode};
  t[FF_GET_RANGE] = {GetRange, nullptr, Failure::kCode};
  t[FF_GET_THUMBNAIL] = {GetThumbnail, nullptr, Failure::kCode};
  t[FF_GET_NUM_FILE_PARAMETER_EXTENSIONS] = {GetNumFileParameterExtensions, nullptr,
                                             Failure::kCode};
  t[FF_GET_FILE_PARAMETER_EXTENSION] = {GetFileParameterExtension, nullptr, Failure::kNull};
  t[FF_GET_PARAMETER_VISIBILITY] = {GetParameterVisibility, InstanceParameterVisibility,
                                    Failure::kCode};
  t[FF_GET_PARAMETER_EVENTS] = {nullptr, GetParameterEvents, Failure::kCode};
  return t;
}

constexpr RouteTable kRoutes = MakeRoutes();

// Codes outside the table, and codes of other plug-in kinds, have no route.
const Route& RouteFor(uint32_t code) {
  static const Route kNoRoute{};
  return code < kCodeCount ? kRoutes[code] : kNoRoute;
}

FFMixed FailureFor(uint32_t code) {
  switch (RouteFor(code).failure) {
    case Failure::kNull:
      return MixedPointer(nullptr);
    case Failure::kAllOnes:
      return ffgl::MixedAllOnes();
    case Failure::kCode:
    default:
      return MixedUInt(FF_FAIL);
  }
}

Answer Dispatch(uint32_t code, FFMixed input, FFInstanceID handle) {
  const Route& route = RouteFor(code);
  if (route.global != nullptr && (route.instance == nullptr || handle == nullptr)) {
    // Instantiation takes the lock itself, and not across InitGL.
    if (code == FF_INSTANTIATE_GL) return route.global(input);
    const Lock lock(processLock);
    return route.global(input);
  }
  if (route.instance == nullptr) return kFailed;
  CFFGLPlugin* instance = LiveInstance(handle);
  if (instance == nullptr) return kFailed;
  return route.instance(*instance, input);
}

}  // namespace

FF_EXPORT FFMixed FF_CALL plugMain(uint32_t functionCode, FFMixed inputValue,
                                   FFInstanceID instanceID) {
  try {
    const Answer answer = Dispatch(functionCode, inputValue, instanceID);
    return answer ? *answer : FailureFor(functionCode);
  } catch (...) {
    return FailureFor(functionCode);
  }
}
