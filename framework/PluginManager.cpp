#include "framework/PluginManager.h"

#include <algorithm>
#include <cstring>

#include "host/FunctionCodes.h"

namespace {

uint32_t FloatBits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

CFFGLPluginManager::CFFGLPluginManager(bool capability16Supported_)
    : capability16Supported(capability16Supported_) {}

CFFGLPluginManager::~CFFGLPluginManager() = default;

ParameterRecord CFFGLPluginManager::MakeRecord(uint32_t index, const char* name, int32_t type) const {
  ParameterRecord record;
  record.index = index;
  record.name = name;
  record.type = type;
  return record;
}

void CFFGLPluginManager::AddParameter(uint32_t index, const char* name, int32_t type, float defaultValue) {
  ParameterRecord record = MakeRecord(index, name, type);
  record.elements.resize(1);
  record.defaultValue =
      type == qvx::kTypeStandard ? std::max(0.0f, std::min(1.0f, defaultValue)) : defaultValue;
  parameters.push_back(std::move(record));
}

void CFFGLPluginManager::AddOptionParameter(uint32_t index, const char* name, uint32_t elementCount,
                                            float defaultValue) {
  ParameterRecord record = MakeRecord(index, name, qvx::kTypeOption);
  record.elements.resize(elementCount);
  record.defaultValue = defaultValue;
  parameters.push_back(std::move(record));
}

void CFFGLPluginManager::SetOptionElement(uint32_t index, uint32_t position, const char* elementName,
                                          float elementValue) {
  ParameterRecord* record = FindParameter(index);
  if (record == nullptr || position >= record->elements.size()) return;
  record->elements[position].name = elementName;
  record->elements[position].value = elementValue;
}

ParameterRecord* CFFGLPluginManager::FindParameter(uint32_t index) {
  for (ParameterRecord& record : parameters)
    if (record.index == index) return &record;
  return nullptr;
}

const ParameterRecord* CFFGLPluginManager::FindParameter(uint32_t index) const {
  for (const ParameterRecord& record : parameters)
    if (record.index == index) return &record;
  return nullptr;
}

const ParameterElement* CFFGLPluginManager::FindElement(uint32_t index, uint32_t position) const {
  const ParameterRecord* record = FindParameter(index);
  if (record == nullptr || position >= record->elements.size()) return nullptr;
  return &record->elements[position];
}

const char* CFFGLPluginManager::GetParameterName(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  return record ? record->name.c_str() : nullptr;
}

uint64_t CFFGLPluginManager::GetParameterDefault(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  if (record == nullptr) return qvx::kFailure;
  if (qvx::IsTextValued(record->type)) return reinterpret_cast<uintptr_t>(record->defaultText.c_str());
  return FloatBits(record->defaultValue);
}

int32_t CFFGLPluginManager::GetParameterType(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  return record ? record->type : -1;
}

std::pair<float, float> CFFGLPluginManager::GetParameterRange(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  if (record == nullptr) return {0.0f, 1.0f};
  return {record->rangeMin, record->rangeMax};
}

int32_t CFFGLPluginManager::GetParameterUsage(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  return record ? record->usage : -1;
}

int32_t CFFGLPluginManager::GetParameterVisibility(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  if (record == nullptr) return -1;
  return record->visible ? 1 : 0;
}

uint32_t CFFGLPluginManager::GetElementCount(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  return record ? static_cast<uint32_t>(record->elements.size()) : qvx::kFailure;
}

const char* CFFGLPluginManager::GetElementName(uint32_t index, uint32_t position) const {
  const ParameterElement* element = FindElement(index, position);
  return element ? element->name.c_str() : nullptr;
}

uint32_t CFFGLPluginManager::GetElementValue(uint32_t index, uint32_t position) const {
  const ParameterElement* element = FindElement(index, position);
  return element ? FloatBits(element->value) : qvx::kFailure;
}

uint32_t CFFGLPluginManager::SetElementValue(uint32_t index, uint32_t position, float value) {
  ParameterRecord* record = FindParameter(index);
  if (record == nullptr || position >= record->elements.size()) return qvx::kFailure;
  record->elements[position].value = value;
  return qvx::kSuccess;
}

uint32_t CFFGLPluginManager::GetFileExtensionCount(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  return record ? static_cast<uint32_t>(record->fileExtensions.size()) : 0;
}

const char* CFFGLPluginManager::GetFileExtension(uint32_t index, uint32_t position) const {
  const ParameterRecord* record = FindParameter(index);
  if (record == nullptr || position >= record->fileExtensions.size()) return nullptr;
  return record->fileExtensions[position].c_str();
}

uint32_t CFFGLPluginManager::GetSeparatorCount(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  return record ? static_cast<uint32_t>(record->separators.size()) : 0;
}

uint32_t CFFGLPluginManager::GetSeparator(uint32_t index, uint32_t position) const {
  const ParameterRecord* record = FindParameter(index);
  if (record == nullptr || position >= record->separators.size()) return qvx::kFailure;
  return record->separators[position];
}

std::string CFFGLPluginManager::GetParameterGroup(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  return record ? record->group : std::string();
}

std::string CFFGLPluginManager::GetParameterDisplayName(uint32_t index) const {
  const ParameterRecord* record = FindParameter(index);
  return record ? record->displayName : std::string();
}

uint32_t CFFGLPluginManager::GetPendingEventCount() const {
  return static_cast<uint32_t>(std::count_if(parameters.begin(), parameters.end(),
                                             [](const ParameterRecord& r) { return r.pendingEvents != 0; }));
}

uint32_t CFFGLPluginManager::TakePendingEvents(ParameterEventReport* reports, uint32_t capacity) {
  uint32_t written = 0;
  for (ParameterRecord& record : parameters) {
    if (written >= capacity) break;
    if (record.pendingEvents == 0) continue;
    reports[written].parameterIndex = record.index;  // bytes 4..7 are left as the host had them
    reports[written].eventFlags = record.pendingEvents;
    record.pendingEvents = 0;
    ++written;
  }
  return written;
}
