#include "regfiles/import_check.h"

#include <map>
#include <optional>
#include <vector>

#include "cli/root_keys.h"
#include "host/run_failure.h"
#include "host/status_codes.h"
#include "host/text.h"
#include "regfiles/file_errors.h"

namespace tolvu {
namespace {

using Text = std::u16string;

// The registry compares names without regard to case; ASCII and Latin-1
// letters fold here, enough to tell the file's own repeats apart.
Text Folded(Text text) {
  for (char16_t& ch : text) {
    if ((ch >= u'a' && ch <= u'z') ||
        (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7)) {
      ch = static_cast<char16_t>(ch - 0x20);
    }
  }
  return text;
}

Text KeyId(const RegEntry& entry) {
  return Text(1, static_cast<char16_t>(entry.root & 0xFU)) +
         (entry.subKey.empty() ? u"" : u"\\" + Folded(entry.subKey));
}

// What the file leaves, in order; an entry overtaken by a later one is
// dropped.
struct EndState {
  std::vector<const RegEntry*> entries;
  std::map<Text, std::size_t> keys;    // by KeyId
  std::map<Text, std::size_t> values;  // by KeyId, NUL, folded name

  void Set(std::map<Text, std::size_t>& ids, const Text& id,
           const RegEntry& entry) {
    Drop(ids, id);
    ids[id] = entries.size();
    entries.push_back(&entry);
  }
  void Drop(std::map<Text, std::size_t>& ids, const Text& id) {
    const auto found = ids.find(id);
    if (found != ids.end()) {
      entries[found->second] = nullptr;
      ids.erase(found);
    }
  }
  void DropBelow(std::map<Text, std::size_t>& ids, const Text& prefix) {
    auto next = ids.lower_bound(prefix);
    while (next != ids.end() &&
           next->first.compare(0, prefix.size(), prefix) == 0) {
      entries[next->second] = nullptr;
      next = ids.erase(next);
    }
  }

  void Apply(const RegEntry& entry) {
    const Text id = KeyId(entry);
    switch (entry.kind) {
      case RegEntry::Key:
        // Its deleted parents exist again.
        for (std::size_t cut = id.find(u'\\'); cut != Text::npos;
             cut = id.find(u'\\', cut + 1)) {
          const auto parent = keys.find(id.substr(0, cut));
          if (parent != keys.end() &&
              entries[parent->second]->kind == RegEntry::DeleteKey) {
            Drop(keys, parent->first);
          }
        }
        Set(keys, id, entry);
        break;
      case RegEntry::DeleteKey:
        DropBelow(keys, id + u"\\");
        DropBelow(values, id + u"\\");
        DropBelow(values, id + Text(1, u'\0'));
        Set(keys, id, entry);
        break;
      case RegEntry::Value:
      case RegEntry::DeleteValue:
        Set(values, id + Text(1, u'\0') + Folded(entry.name), entry);
        break;
    }
  }
};

Text Shortened(const Text& text) {
  constexpr std::size_t kShown = 60;
  return text.size() <= kShown ? text : text.substr(0, kShown) + u"...";
}

Text TypeName(std::uint32_t type) {
  switch (type) {
    case 0:
      return u"REG_NONE";
    case 1:
      return u"REG_SZ";
    case 2:
      return u"REG_EXPAND_SZ";
    case 3:
      return u"REG_BINARY";
    case 4:
      return u"REG_DWORD";
    case 7:
      return u"REG_MULTI_SZ";
    case 11:
      return u"REG_QWORD";
    default:
      return u"type " + DecimalText(type);
  }
}

Text DataText(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  constexpr char16_t kHex[] = u"0123456789abcdef";
  if ((type == 1 || type == 2) && data.size() % 2 == 0) {
    Text text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
      text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8U)));
    }
    if (!text.empty() && text.back() == u'\0') {
      text.pop_back();
    }
    return TypeName(type) + u" " + Quoted(Shortened(text));
  }
  Text bytes;
  if (type == 4 && data.size() == 4) {
    for (std::size_t i = 4; i-- > 0;) {
      bytes += Text{kHex[data[i] >> 4U], kHex[data[i] & 0xFU]};
    }
    return u"REG_DWORD 0x" + bytes;
  }
  for (std::size_t i = 0; i < data.size() && i < 16; ++i) {
    bytes +=
        Text(i == 0 ? u"" : u",") + kHex[data[i] >> 4U] + kHex[data[i] & 0xFU];
  }
  return TypeName(type) + u" hex:" + bytes + (data.size() > 16 ? u",..." : u"");
}

Text Unreadable(std::uint32_t status) {
  return u"it cannot be read: " + ErrorReason(status);
}

// The entry's key as opened for reading: the status, and the key on 0.
struct OpenedKey {
  std::uint32_t status = kErrorFileNotFound;
  HostKey key = 0;
};

// What the registry holds where the entry is not as given; nothing when it
// is.
std::optional<Text> Difference(Host& host, const RegEntry& entry,
                               const OpenedKey& opened) {
  const std::uint32_t keyStatus = opened.status;
  const bool gone = keyStatus == kErrorFileNotFound;
  if (keyStatus != kSuccess && !gone) {
    return Unreadable(keyStatus);
  }
  switch (entry.kind) {
    case RegEntry::Key:
      return gone ? std::optional<Text>(u"the registry has no such key")
                  : std::nullopt;
    case RegEntry::DeleteKey:
      return gone ? std::nullopt
                  : std::optional<Text>(u"the registry still holds it");
    case RegEntry::Value:
    case RegEntry::DeleteValue:
      break;
  }
  const bool wanted = entry.kind == RegEntry::Value;
  if (gone) {
    return wanted ? std::optional<Text>(u"the registry has no such key")
                  : std::nullopt;
  }
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  const std::uint32_t status =
      host.RegQueryValueExW(opened.key, entry.name, &type, &data);
  if (status == kErrorFileNotFound) {
    return wanted ? std::optional<Text>(u"the registry has no such value")
                  : std::nullopt;
  }
  if (status != kSuccess) {
    return Unreadable(status);
  }
  if (!wanted) {
    return u"the registry still holds it";
  }
  if (type == entry.type && data == entry.data) {
    return std::nullopt;
  }
  return u"the registry holds " + DataText(type, data);
}

Text Described(const RegEntry& entry) {
  const Text root = RootKeyName(entry.root);
  Text text = u"line " + DecimalText(static_cast<std::int64_t>(entry.line)) +
              u", key " +
              Quoted(root.empty() || entry.subKey.empty()
                         ? root + entry.subKey
                         : root + u"\\" + entry.subKey);
  if (entry.kind == RegEntry::Value || entry.kind == RegEntry::DeleteValue) {
    text += entry.name.empty() ? u", the default value"
                               : u", value " + Quoted(entry.name);
  }
  switch (entry.kind) {
    case RegEntry::Key:
      return text + u": the file creates it";
    case RegEntry::Value:
      return text + u": the file gives " + DataText(entry.type, entry.data);
    case RegEntry::DeleteKey:
    case RegEntry::DeleteValue:
      break;
  }
  return text + u": the file deletes it";
}

struct Findings {
  std::size_t count = 0;
  Text first;
};

// Each key is opened once for the run of entries that name it.
Findings Compare(Host& host, const EndState& state) {
  Findings findings;
  std::optional<Text> openId;
  OpenedKey opened;
  for (const RegEntry* entry : state.entries) {
    if (entry == nullptr) {
      continue;
    }
    const Text id = KeyId(*entry);
    if (id != openId) {
      if (opened.key != 0) {
        host.RegCloseKey(opened.key);
        opened.key = 0;
      }
      openId = id;
      opened.status =
          entry->root == 0
              ? kErrorFileNotFound
              : host.RegOpenKeyExW(entry->root, entry->subKey, &opened.key);
    }
    const std::optional<Text> held = Difference(host, *entry, opened);
    if (held && findings.count++ == 0) {
      findings.first = Described(*entry) + u"; " + *held;
    }
  }
  if (opened.key != 0) {
    host.RegCloseKey(opened.key);
  }
  return findings;
}

Text Skipped(const RegFile& file) {
  const std::size_t count = file.unreadableLines;
  return u"the editor skips " + DecimalText(static_cast<std::int64_t>(count)) +
         (count == 1 ? u" line" : u" lines") +
         u" that it cannot read; the first is line " +
         DecimalText(static_cast<std::int64_t>(file.firstUnreadable)) + u": " +
         Quoted(Shortened(file.firstUnreadableText)) + u".";
}

}  // namespace

void CheckImported(Host& host, const std::u16string& fileName,
                   const RegFile& file) {
  EndState state;
  for (const RegEntry& entry : file.entries) {
    state.Apply(entry);
  }
  const Findings findings = Compare(host, state);
  const Text skipped = file.unreadableLines == 0 ? u"" : Skipped(file);
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
