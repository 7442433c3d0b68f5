#include "registry_probe.h"

#include <algorithm>
#include <iomanip>
#include <utility>

namespace tolvu_e2e {
namespace {

// The registry's own limits on name lengths, in characters.
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;

// Opens an existing key for reading; closes it on scope exit.
class OpenKey {
 public:
  OpenKey(HKEY root, const std::wstring& path) {
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key_) !=
        ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  OpenKey(OpenKey&&) = delete;
  OpenKey& operator=(OpenKey&&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_NONE:
      return "REG_NONE";
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_BINARY:
      return "REG_BINARY";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    default:
      return nullptr;
  }
}

}  // namespace

bool operator==(const RegValue& a, const RegValue& b) {
  return a.type == b.type && a.bytes == b.bytes;
}

void PrintTo(const RegValue& value, std::ostream* out) {
  const char* name = TypeName(value.type);
  if (name != nullptr) {
    *out << name;
  } else {
    *out << "type " << value.type;
  }
  *out << " [" << std::hex << std::uppercase << std::setfill('0');
  for (size_t i = 0; i < value.bytes.size(); ++i) {
    *out << (i == 0 ? "" : " ") << std::setw(2)
         << static_cast<unsigned>(value.bytes[i]);
  }
  *out << std::dec << std::nouppercase << "]";
}

bool KeyExists(HKEY root, const std::wstring& path) {
  return OpenKey(root, path).Get() != nullptr;
}

std::optional<RegValue> ReadValue(HKEY root, const std::wstring& path,
                                  const std::wstring& name) {
  OpenKey key(root, path);
  if (key.Get() == nullptr) {
    return std::nullopt;
  }
  RegValue value;
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, nullptr,
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type,
                       value.bytes.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  return value;
}

std::vector<std::wstring> SubKeyNames(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> names;
  OpenKey key(root, path);
  if (key.Get() == nullptr) {
    return names;
  }
  for (DWORD i = 0;; ++i) {
    std::wstring name(kMaxKeyNameLength + 1, L'\0');
    auto length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExW(key.Get(), i, name.data(), &length, nullptr, nullptr,
                      nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    name.resize(length);
    names.push_back(name);
  }
  return names;
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> names;
  OpenKey key(root, path);
  if (key.Get() == nullptr) {
    return names;
  }
  for (DWORD i = 0;; ++i) {
    std::wstring name(kMaxValueNameLength + 1, L'\0');
    auto length = static_cast<DWORD>(name.size());
    if (RegEnumValueW(key.Get(), i, name.data(), &length, nullptr, nullptr,
                      nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    name.resize(length);
    names.push_back(name);
  }
  return names;
}

std::vector<std::wstring> KeyTree(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> entries;
  // Keys still to list, by their path from the key.
  std::vector<std::wstring> pending = {L""};
  while (!pending.empty()) {
    const std::wstring below = pending.back();
    pending.pop_back();
    std::wstring full = path;
    if (!below.empty()) {
      full.append(L"\\").append(below);
    }
    for (const auto& name : ValueNames(root, full)) {
      entries.push_back(std::wstring(below).append(L":").append(name));
    }
    for (const auto& name : SubKeyNames(root, full)) {
      std::wstring sub = below;
      if (!sub.empty()) {
        sub.append(L"\\");
      }
      sub.append(name);
      entries.push_back(sub);
      pending.push_back(sub);
    }
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

bool WriteValue(HKEY root, const std::wstring& path, const std::wstring& name,
                const RegValue& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG status =
      RegSetValueExW(key, name.c_str(), 0, value.type, value.bytes.data(),
                     static_cast<DWORD>(value.bytes.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

void DeleteKeyTree(HKEY root, const std::wstring& path) {
  RegDeleteTreeW(root, path.c_str());
  RegDeleteKeyW(root, path.c_str());
}

RegValue Sz(const std::wstring& text) {
  RegValue value{REG_SZ, {}};
  for (wchar_t c : text) {
    value.bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    value.bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  value.bytes.push_back(0);
  value.bytes.push_back(0);
  return value;
}

RegValue Binary(std::vector<std::uint8_t> bytes) {
  return RegValue{REG_BINARY, std::move(bytes)};
}

RegValue Dword(std::uint32_t number) {
  return RegValue{REG_DWORD,
                  {static_cast<std::uint8_t>(number),
                   static_cast<std::uint8_t>(number >> 8),
                   static_cast<std::uint8_t>(number >> 16),
                   static_cast<std::uint8_t>(number >> 24)}};
}

}  // namespace tolvu_e2e
