// plugMain: the single export, a switch over the FFGL function codes. Global
// queries are answered from a prototype instance, per-instance codes are
// forwarded to the instance's virtual operations.
//
// Nothing from a host is trusted: record pointers are checked for null,
// instance handles are checked against the instances this library made (so a
// deleted or foreign handle is refused instead of dereferenced), and no C++
// exception ever leaves this function.
#include "ffgl/CFFGLPlugin.h"
#include "ffgl/FFGL.h"
#include "ffgl/GLEntryPoints.h"
#include "ffgl/HostGLState.h"
#include "ffgl/InstanceContext.h"
#include "ffgl/PluginRegistration.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace {

CFFGLPlugin* prototype = nullptr;
bool glLoadAttempted = false;
bool glLoadSucceeded = false;
std::vector<CFFGLPlugin*> liveInstances;

FFMixed Code(uint32_t value) {
  FFMixed result;
  result.PointerValue = nullptr;
  result.UIntValue = value;
  return result;
}

FFMixed Float(float value) {
  FFMixed result;
  result.PointerValue = nullptr;
  result.FloatValue = value;
  return result;
}

FFMixed Pointer(const void* pointer) {
  FFMixed result;
  result.PointerValue = const_cast<void*>(pointer);
  return result;
}

FFMixed AllOnes() { return Pointer(reinterpret_cast<void*>(UINTPTR_MAX)); }

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

CFFGLPlugin* LiveInstance(FFInstanceID handle) {
  if (handle == nullptr) return nullptr;
  for (CFFGLPlugin* instance : liveInstances)
    if (instance == handle) return instance;
  return nullptr;
}

void DestroyInstance(CFFGLPlugin* instance) {
  liveInstances.erase(std::remove(liveInstances.begin(), liveInstances.end(), instance),
                      liveInstances.end());
  delete instance;
}

FFMixed SetUpInstance(CFFGLPlugin* instance, const FFGLViewportStruct* viewport);

FFMixed InstantiateGL(const FFGLViewportStruct* viewport) {
  PluginRegistration* registration = GetPluginRegistration();
  if (registration == nullptr || viewport == nullptr) return AllOnes();
  if (!EnsurePrototype()) return AllOnes();

  CFFGLPlugin* instance = nullptr;
  if (registration->factory(&instance) == FF_FAIL || instance == nullptr) return AllOnes();
  try {
    liveInstances.push_back(instance);
    return SetUpInstance(instance, viewport);
  } catch (...) {
    // No half-built instance may reach the host or stay on our list.
    DestroyInstance(instance);
    return AllOnes();
  }
}

FFMixed SetUpInstance(CFFGLPlugin* instance, const FFGLViewportStruct* viewport) {
  const uint32_t count = prototype->GetNumParams();
  for (uint32_t i = 0; i < count; ++i) {
    const ParamInfo* record = prototype->FindParam(i);
    const uint32_t type = prototype->GetParamType(i);
    FFResult result;
    if (IsStringParamType(type)) {
      result = instance->SetTextParameter(i, record != nullptr ? record->defaultText.c_str() : "");
    } else {
      result = instance->SetFloatParameter(i, record != nullptr ? record->defaultValue : 0.0f);
    }
    if (result == FF_FAIL) {
      DestroyInstance(instance);
      return AllOnes();
    }
  }

  if (!glLoadAttempted) {
    glLoadAttempted = true;
    glLoadSucceeded = ffgl::LoadGLEntryPoints();
  }
  if (!glLoadSucceeded) {
    DestroyInstance(instance);
    return AllOnes();
  }

  ffgl::RememberCreatorContext(*instance);
  FFResult initResult;
  {
    ffgl::HostGLState hostState;
    // A set-up that fails or throws half-way still releases what it made.
    try {
      initResult = instance->InitGL(viewport);
    } catch (...) {
      initResult = FF_FAIL;
    }
    if (initResult != FF_SUCCESS) instance->DeInitGL();
  }
  if (initResult != FF_SUCCESS) {
    DestroyInstance(instance);
    return AllOnes();
  }
  return Pointer(instance);
}

FFMixed Dispatch(uint32_t code, FFMixed input, FFInstanceID handle) {
  switch (code) {
    case FF_GET_INFO: {
      PluginRegistration* registration = GetPluginRegistration();
      return Pointer(registration != nullptr ? &registration->info : nullptr);
    }
    case FF_DEINITIALISE:
      delete prototype;
      prototype = nullptr;
      return Code(FF_SUCCESS);

    case FF_GET_NUM_PARAMETERS:
      return EnsurePrototype() ? Code(prototype->GetNumParams()) : Code(FF_FAIL);

    case FF_GET_PARAMETER_NAME: {
      const ParamInfo* record = PrototypeParam(input.UIntValue);
      return Pointer(record != nullptr ? record->name : nullptr);
    }
    case FF_GET_PARAMETER_DEFAULT: {
      const ParamInfo* record = PrototypeParam(input.UIntValue);
      if (record == nullptr) return Code(FF_FAIL);
      if (IsStringParamType(record->type)) return Pointer(record->defaultText.c_str());
      return Float(record->defaultValue);
    }
    case FF_GET_PARAMETER_DISPLAY: {
      CFFGLPlugin* instance = LiveInstance(handle);
      if (instance == nullptr) return AllOnes();
      return Pointer(instance->GetParameterDisplay(input.UIntValue));
    }
    case FF_SET_PARAMETER: {
      CFFGLPlugin* instance = LiveInstance(handle);
      const auto* record = static_cast<const SetParameterStruct*>(input.PointerValue);
      if (instance == nullptr || record == nullptr || !EnsurePrototype()) return Code(FF_FAIL);
      const uint32_t index = record->ParameterNumber;
      if (IsStringParamType(prototype->GetParamType(index))) {
        return Code(instance->SetTextParameter(
            index, static_cast<const char*>(record->NewParameterValue.PointerValue)));
      }
      return Code(instance->SetFloatParameter(index, record->NewParameterValue.FloatValue));
    }
    case FF_GET_PARAMETER: {
      CFFGLPlugin* instance = LiveInstance(handle);
      if (instance == nullptr || !EnsurePrototype()) return Code(FF_FAIL);
      const uint32_t index = input.UIntValue;
      if (IsStringParamType(prototype->GetParamType(index)))
        return Pointer(instance->GetTextParameter(index));
      return Float(instance->GetFloatParameter(index));
    }
    case FF_GET_PLUGIN_CAPS: {
      if (!EnsurePrototype()) return Code(FF_FAIL);
      switch (input.UIntValue) {
        case FF_CAP_SET_TIME:
          return Code(prototype->timeSupported ? FF_SUPPORTED : FF_UNSUPPORTED);
        case FF_CAP_MINIMUM_INPUT_FRAMES:
          return Code(prototype->minInputs >= 0 ? static_cast<uint32_t>(prototype->minInputs) : 0);
        case FF_CAP_MAXIMUM_INPUT_FRAMES:
          return Code(prototype->maxInputs >= 0 ? static_cast<uint32_t>(prototype->maxInputs) : 0);
        default:
          return Code(FF_UNSUPPORTED);
      }
    }
    case FF_GET_EXTENDED_INFO: {
      PluginRegistration* registration = GetPluginRegistration();
      return Pointer(registration != nullptr ? &registration->extendedInfo : nullptr);
    }
    case FF_GET_PARAMETER_TYPE:
      return EnsurePrototype() ? Code(prototype->GetParamType(input.UIntValue)) : Code(FF_FAIL);

    case FF_GET_INPUT_STATUS: {
      CFFGLPlugin* instance = LiveInstance(handle);
      return instance != nullptr ? Code(instance->GetInputStatus(input.UIntValue)) : Code(FF_FAIL);
    }
    case FF_PROCESS_OPENGL: {
      CFFGLPlugin* instance = LiveInstance(handle);
      auto* frame = static_cast<ProcessOpenGLStruct*>(input.PointerValue);
      if (instance == nullptr || frame == nullptr) return Code(FF_FAIL);
      if (!ffgl::InCreatorContext(*instance)) return Code(FF_FAIL);
      if (!instance->glConnected) {
        instance->Connect();
        instance->glConnected = true;
      }
      ffgl::HostGLState hostState;
      return Code(instance->ProcessOpenGL(frame));
    }
    case FF_INSTANTIATE_GL:
      return InstantiateGL(static_cast<const FFGLViewportStruct*>(input.PointerValue));

    case FF_DEINSTANTIATE_GL: {
      CFFGLPlugin* instance = LiveInstance(handle);
      if (instance == nullptr) return Code(FF_FAIL);
      {
        ffgl::HostGLState hostState;
        if (instance->glConnected) {
          instance->Disconnect();
          instance->glConnected = false;
        }
        // In another context the instance's names are the host's objects:
        // its own stay to go with the context that made them.
        if (ffgl::InCreatorContext(*instance)) instance->DeInitGL();
        DestroyInstance(instance);
      }
      return Code(FF_SUCCESS);
    }
    case FF_SET_TIME: {
      CFFGLPlugin* instance = LiveInstance(handle);
      const auto* time = static_cast<const double*>(input.PointerValue);
      if (instance == nullptr || time == nullptr) return Code(FF_FAIL);
      return Code(instance->SetTime(*time));
    }
    case FF_CONNECT:
    case FF_DISCONNECT: {
      CFFGLPlugin* instance = LiveInstance(handle);
      if (instance == nullptr) return Code(FF_FAIL);
      const bool connect = code == FF_CONNECT;
      const FFResult result = connect ? instance->Connect() : instance->Disconnect();
      if (result != FF_SUCCESS) return Code(result);
      instance->glConnected = connect;
      return Code(FF_SUCCESS);
    }
    case FF_RESIZE: {
      CFFGLPlugin* instance = LiveInstance(handle);
      const auto* viewport = static_cast<const FFGLViewportStruct*>(input.PointerValue);
      if (instance == nullptr || viewport == nullptr) return Code(FF_FAIL);
      if (!ffgl::InCreatorContext(*instance)) return Code(FF_FAIL);
      ffgl::HostGLState hostState;
      return Code(instance->Resize(viewport));
    }
    case FF_GET_NUM_PARAMETER_ELEMENTS: {
      const ParamInfo* record = PrototypeParam(input.UIntValue);
      return record != nullptr ? Code(static_cast<uint32_t>(record->elements.size()))
                               : Code(FF_FAIL);
    }
    case FF_GET_PARAMETER_USAGE: {
      const ParamInfo* record = PrototypeParam(input.UIntValue);
      return record != nullptr ? Code(record->usage) : Code(FF_FAIL);
    }
    case FF_GET_PLUGIN_SHORT_NAME:
      return Pointer(EnsurePrototype() ? prototype->GetShortName() : nullptr);

    case FF_INITIALISE_V2:
      return Code(EnsurePrototype() ? FF_SUCCESS : FF_FAIL);

    case FF_GET_PARAMETER_ELEMENT_NAME:
    case FF_GET_PARAMETER_ELEMENT_VALUE: {
      const bool wantName = code == FF_GET_PARAMETER_ELEMENT_NAME;
      const auto* which = static_cast<const ElementIndexStruct*>(input.PointerValue);
      const ParamInfo* record = which != nullptr ? PrototypeParam(which->ParameterNumber) : nullptr;
      if (record == nullptr || which->ElementNumber >= record->elements.size())
        return wantName ? Pointer(nullptr) : Code(FF_FAIL);
      const ParamElement& element = record->elements[which->ElementNumber];
      return wantName ? Pointer(element.name.c_str()) : Float(element.value);
    }
    case FF_SET_PARAMETER_ELEMENT_VALUE: {
      CFFGLPlugin* instance = LiveInstance(handle);
      const auto* change = static_cast<const SetElementValueStruct*>(input.PointerValue);
      if (instance == nullptr || change == nullptr) return Code(FF_FAIL);
      ParamInfo* record = instance->FindParam(change->ParameterNumber);
      if (record == nullptr || change->ElementNumber >= record->elements.size())
        return Code(FF_FAIL);
      record->elements[change->ElementNumber].value = change->NewParameterValue;
      return Code(FF_SUCCESS);
    }
    case FF_SET_BEATINFO: {
      CFFGLPlugin* instance = LiveInstance(handle);
      const auto* beat = static_cast<const BeatInfoStruct*>(input.PointerValue);
      if (instance == nullptr || beat == nullptr) return Code(FF_FAIL);
      instance->SetBeatInfo(beat->bpm, beat->barPhase);
      return Code(FF_SUCCESS);
    }
    case FF_SET_HOSTINFO: {
      CFFGLPlugin* instance = LiveInstance(handle);
      const auto* info = static_cast<const HostInfoStruct*>(input.PointerValue);
      if (instance == nullptr || info == nullptr) return Code(FF_FAIL);
      instance->SetHostInfo(info->name, info->version);
      return Code(FF_SUCCESS);
    }
    case FF_SET_SAMPLERATE: {
      CFFGLPlugin* instance = LiveInstance(handle);
      if (instance == nullptr) return Code(FF_FAIL);
      instance->SetSampleRate(input.UIntValue);
      return Code(FF_SUCCESS);
    }
    case FF_GET_RANGE: {
      auto* range = static_cast<RangeStruct*>(input.PointerValue);
      if (range == nullptr || !EnsurePrototype()) return Code(FF_FAIL);
      const ParamInfo* record = prototype->FindParam(range->ParameterNumber);
      range->min = record != nullptr ? record->rangeMin : 0.0f;
      range->max = record != nullptr ? record->rangeMax : 1.0f;
      return Code(FF_SUCCESS);
    }
    case FF_GET_THUMBNAIL: {
      auto* thumbnail = static_cast<ThumbnailStruct*>(input.PointerValue);
      if (thumbnail != nullptr) {
        thumbnail->width = 0;
        thumbnail->height = 0;
      }
      return Code(FF_FAIL);
    }
    case FF_GET_NUM_FILE_PARAMETER_EXTENSIONS: {
      if (!EnsurePrototype()) return Code(FF_FAIL);
      const ParamInfo* record = prototype->FindParam(input.UIntValue);
      return Code(record != nullptr ? static_cast<uint32_t>(record->fileExtensions.size()) : 0);
    }
    case FF_GET_FILE_PARAMETER_EXTENSION: {
      const auto* which = static_cast<const ElementIndexStruct*>(input.PointerValue);
      const ParamInfo* record = which != nullptr ? PrototypeParam(which->ParameterNumber) : nullptr;
      if (record == nullptr || which->ElementNumber >= record->fileExtensions.size())
        return Pointer(nullptr);
      return Pointer(record->fileExtensions[which->ElementNumber].c_str());
    }
    case FF_GET_PARAMETER_VISIBILITY: {
      const ParamInfo* record = nullptr;
      if (handle != nullptr) {
        CFFGLPlugin* instance = LiveInstance(handle);
        if (instance == nullptr) return Code(FF_FAIL);
        record = instance->FindParam(input.UIntValue);
      } else {
        record = PrototypeParam(input.UIntValue);
      }
      if (record == nullptr) return Code(FF_FAIL);
      return Code(record->visible ? 1u : 0u);
    }
    case FF_GET_PARAMETER_EVENTS: {
      CFFGLPlugin* instance = LiveInstance(handle);
      auto* events = static_cast<ParameterEventsStruct*>(input.PointerValue);
      if (instance == nullptr || events == nullptr) return Code(FF_FAIL);
      instance->HarvestParamEvents(*events);
      return Code(FF_SUCCESS);
    }
    default:
      return Code(FF_FAIL);
  }
}

// The value a code answers when it cannot complete.
FFMixed FailureFor(uint32_t code) {
  switch (code) {
    case FF_GET_PARAMETER_NAME:
    case FF_GET_PLUGIN_SHORT_NAME:
    case FF_GET_PARAMETER_ELEMENT_NAME:
    case FF_GET_FILE_PARAMETER_EXTENSION:
      return Pointer(nullptr);
    case FF_GET_PARAMETER_DISPLAY:
    case FF_INSTANTIATE_GL:
      return AllOnes();
    default:
      return Code(FF_FAIL);
  }
}

}  // namespace

FF_EXPORT FFMixed FF_CALL plugMain(uint32_t functionCode, FFMixed inputValue,
                                   FFInstanceID instanceID) {
  try {
    return Dispatch(functionCode, inputValue, instanceID);
  } catch (...) {
    return FailureFor(functionCode);
  }
}
