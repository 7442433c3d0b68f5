#include "regfiles/import_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "cli/data_types.h"
#include "cli/root_keys.h"
#include "host/numbers.h"
#include "host/run_failure.h"
#include "host/status_codes.h"
#include "host/text.h"
#include "regfiles/file_errors.h"

namespace tolvu {
namespace {

using Text = std::u16string;
using Bytes = std::vector<std::uint8_t>;

// A key's id is its name as the registry folds it, each part ended by a
// NUL; a value's is its key's, a NUL, and its folded name. So a key, its
// values and all below it are the ids that start with the key's, in one
// run with the key first and its values right after it.
Text KeyId(Host& host, const RegEntry& entry) {
  Text id = host.UpperCase(entry.key);
  std::replace(id.begin(), id.end(), u'\\', u'\0');
  return id + u'\0';
}

using EndState = std::map<Text, const RegEntry*>;  // by id

// What the file leaves: the last entry for each key and value.
EndState EndStateOf(Host& host, const RegFile& file) {
  EndState state;
  for (const RegEntry& entry : file.entries) {
    const Text id = KeyId(host, entry);
    switch (entry.kind) {
      case RegEntry::Key:
        // Its deleted parents exist again.
        for (std::size_t end = id.find(u'\0'); end + 1 != id.size();
             end = id.find(u'\0', end + 1)) {
          const auto parent = state.find(id.substr(0, end + 1));
          if (parent != state.end() &&
              parent->second->kind == RegEntry::DeleteKey) {
            state.erase(parent);
          }
        }
        state[id] = &entry;
        break;
      case RegEntry::DeleteKey: {
        Text past = id;
        past.back() = u'\1';
        state.erase(state.lower_bound(id), state.lower_bound(past));
        state[id] = &entry;
        break;
      }
      case RegEntry::Value:
      case RegEntry::DeleteValue:
        state[id + u'\0' + host.UpperCase(entry.name)] = &entry;
        break;
    }
  }
  return state;
}

Text Shortened(const Text& text) {
  constexpr std::size_t kShown = 60;
  return text.size() <= kShown ? text : text.substr(0, kShown) + u"...";
}

Text DataText(std::uint32_t type, const Bytes& data) {
  const Text name = DataTypeName(type);
  const Text typeName = name.empty() ? u"type " + DecimalText(type) : name;
  if ((type == kRegSz || type == kRegExpandSz) && data.size() % 2 == 0) {
    Text text = FromUtf16Le(std::string(data.begin(), data.end()));
    if (!text.empty() && text.back() == u'\0') {
      text.pop_back();
    }
    return typeName + u" " + Quoted(Shortened(text));
  }
  if (type == kRegDword && data.size() == 4) {
    std::uint32_t number = 0;
    for (std::size_t i = 4; i-- > 0;) {
      number = number << 8U | data[i];
    }
    return typeName + u" 0x" + HexText(number, 8);
  }
  constexpr std::size_t kShownBytes = 16;
  Text bytes;
  for (std::size_t i = 0; i < data.size() && i < kShownBytes; ++i) {
    bytes += (i == 0 ? u"" : u",") + HexText(data[i], 2);
  }
  return typeName + u" hex:" + bytes +
         (data.size() > kShownBytes ? u",..." : u"");
}

// What is found of an entry's key, or of its value.
enum Found { KeyMissing, ValueMissing, Present };

// What the registry holds where it is not as an entry of each kind gives,
// by what is found; nullptr where it is as given. A value found is then
// compared with the data the file gives.
constexpr const char16_t* kNoKey = u"the registry has no such key";
constexpr const char16_t* kStill = u"the registry still holds it";
constexpr const char16_t* kAmiss[][3] = {
    {kNoKey, nullptr, nullptr},                            // Key
    {nullptr, nullptr, kStill},                            // DeleteKey
    {kNoKey, u"the registry has no such value", nullptr},  // Value
    {nullptr, nullptr, kStill},                            // DeleteValue
};

// The entry's key as opened for reading: the status, and the key on 0.
struct OpenedKey {
  std::uint32_t status = kErrorFileNotFound;
  HostKey key = 0;
};

// What the registry holds where the entry is not as given; nothing when it
// is.
std::optional<Text> Difference(Host& host, const RegEntry& entry,
                               const OpenedKey& opened) {
  std::uint32_t status = opened.status;
  std::uint32_t type = 0;
  Bytes data;
  const bool ofValue =
      entry.kind == RegEntry::Value || entry.kind == RegEntry::DeleteValue;
  if (status == kSuccess && ofValue) {
    status = host.RegQueryValueExW(opened.key, entry.name, &type, &data);
  }
  if (status != kSuccess && status != kErrorFileNotFound) {
    return u"it cannot be read: " + ErrorReason(status);
  }
  const Found found = status == kSuccess          ? Present
                      : opened.status == kSuccess ? ValueMissing
                                                  : KeyMissing;
  if (entry.kind == RegEntry::Value && found == Present) {
    if (type == entry.type && data == entry.data) {
      return std::nullopt;
    }
    return u"the registry holds " + DataText(type, data);
  }
  const char16_t* amiss = kAmiss[entry.kind][found];
  return amiss == nullptr ? std::nullopt : std::optional<Text>(amiss);
}

Text Described(const RegEntry& entry) {
  Text text = u"line " + DecimalText(static_cast<std::int64_t>(entry.line)) +
              u", key " + Quoted(entry.key);
  if (entry.kind == RegEntry::Value || entry.kind == RegEntry::DeleteValue) {
    text += entry.name.empty() ? u", the default value"
                               : u", value " + Quoted(entry.name);
  }
  return text + u": the file " +
         (entry.kind == RegEntry::Key ? u"creates it"
          : entry.kind == RegEntry::Value
              ? u"gives " + DataText(entry.type, entry.data)
              : u"deletes it");
}

struct Findings {
  std::size_t count = 0;
  std::size_t firstLine = 0;
  Text first;  // of the entry on the first line
};

// Each key is opened once, for its own entry and those of its values,
// which come right after it.
Findings Compare(Host& host, const EndState& state) {
  Findings findings;
  OpenedKey opened;
  for (const auto& [id, entry] : state) {
    if (entry->kind == RegEntry::Key || entry->kind == RegEntry::DeleteKey) {
      if (opened.key != 0) {
        host.RegCloseKey(opened.key);
      }
      opened = OpenedKey{};
      if (entry->root != kNoRoot) {
        opened.status =
            host.RegOpenKeyExW(entry->root, SubKeyOf(*entry), &opened.key);
      }
    }
    const std::optional<Text> held = Difference(host, *entry, opened);
    if (held && (findings.count++ == 0 || entry->line < findings.firstLine)) {
      findings.firstLine = entry->line;
      findings.first = Described(*entry) + u"; " + *held;
    }
  }
  if (opened.key != 0) {
    host.RegCloseKey(opened.key);
  }
  return findings;
}

Text Skipped(const RegFile& file) {
  const std::size_t count = file.skipped;
  return u"the editor skips " + DecimalText(static_cast<std::int64_t>(count)) +
         (count == 1 ? u" entry" : u" entries") +
         u" that it cannot read; the first is line " +
         DecimalText(static_cast<std::int64_t>(file.firstSkipped)) + u": " +
         Quoted(Shortened(file.firstSkippedText)) + u".";
}

}  // namespace

void CheckImported(Host& host, const std::u16string& fileName,
                   const RegFile& file) {
  const Findings findings = Compare(host, EndStateOf(host, file));
  const Text skipped = file.skipped == 0 ? u"" : Skipped(file);
  if (findings.count != 0) {
    throw RunFailure{
        u"After the import of " + Quoted(fileName) + u", " +
            DecimalText(static_cast<std::int64_t>(findings.count)) +
            (findings.count == 1 ? u" entry is" : u" entries are") +
            u" not as the file gives them. The first: " + findings.first +
            u"." + (skipped.empty() ? u"" : u" Also, " + skipped),
        kErrorCantWrite};
  }
  if (!skipped.empty()) {
    throw RunFailure{
        u"The file " + Quoted(fileName) + u" was imported, but " + skipped,
        kErrorInvalidData};
  }
}

}  // namespace tolvu
