#include "call_text.h"

namespace tolvu {
namespace {

const char* CallName(RegistryCall call) {
  switch (call) {
    case RegistryCall::CreateKey:
      return "RegCreateKeyA";
    case RegistryCall::OpenKey:
      return "RegOpenKeyA";
    case RegistryCall::SetValue:
      return "RegSetValueExA";
    case RegistryCall::DeleteKey:
      return "RegDeleteKeyA";
    case RegistryCall::QueryInfo:
      return "RegQueryInfoKeyA";
    case RegistryCall::DeleteValue:
      return "RegDeleteValueA";
    case RegistryCall::CloseKey:
      return "RegCloseKey";
    case RegistryCall::OpenKeyToRead:
      return "RegOpenKeyExW";
    case RegistryCall::QueryValue:
      return "RegQueryValueExW";
  }
  return "?";
}

}  // namespace

std::string CallText(const RecordedCall& call) {
  std::string name = CallName(call.call);
  if (!call.handleOpen) {
    return name + " on a handle that is not open";
  }
  switch (call.call) {
    case RegistryCall::CreateKey:
    case RegistryCall::OpenKey:
    case RegistryCall::DeleteKey:
    case RegistryCall::OpenKeyToRead:
      return name + " " + RootText(call.root) + " " + call.subKey;
    case RegistryCall::SetValue:
      return name + " " + call.name + " type " + std::to_string(call.type) +
             " length " + std::to_string(call.data.size());
    case RegistryCall::DeleteValue:
    case RegistryCall::QueryValue:
      return name + " " + call.name;
    case RegistryCall::QueryInfo:
    case RegistryCall::CloseKey:
      break;
  }
  return name;
}

std::vector<std::string> CallTexts(const std::vector<RecordedCall>& calls) {
  std::vector<std::string> texts;
  texts.reserve(calls.size());
  for (const RecordedCall& call : calls) {
    texts.push_back(CallText(call));
  }
  return texts;
}

}  // namespace tolvu
