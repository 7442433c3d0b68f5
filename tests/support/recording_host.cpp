#include "support/recording_host.h"

#include <optional>
#include <utility>

#include "host/status_codes.h"
#include "host/text.h"
#include "support/code_pages.h"
#include "support/windows_arguments.h"

namespace tolvu {
namespace {

constexpr std::uint32_t kErrorNotConnected = 2250;  // ERROR_NOT_CONNECTED

bool IsDrive(const std::u16string& name) {
  return name.size() == 2 && name[1] == u':';
}

// The folder part of a name, without its last backslash; empty for none.
std::u16string FolderName(const std::u16string& name) {
  const std::size_t cut = name.rfind(u'\\');
  return cut == std::u16string::npos ? u"" : name.substr(0, cut);
}

// Windows takes these names for devices, whatever follows a dot in them.
bool IsDeviceName(const std::u16string& name) {
  const std::size_t start = name.find_last_of(u"\\/:") + 1;  // 0 for none
  const std::u16string stem =
      ToUpperAscii(name.substr(start, name.find(u'.', start) - start));
  const bool numbered = stem.size() == 4 && stem[3] >= u'1' && stem[3] <= u'9';
  const std::u16string word = stem.substr(0, 3);
  return (stem.size() == 3 && (word == u"CON" || word == u"PRN" ||
                               word == u"AUX" || word == u"NUL")) ||
         (numbered && (word == u"COM" || word == u"LPT"));
}

// A network path: \\server\share.
bool IsShare(const std::u16string& path) { return path.rfind(u"\\\\", 0) == 0; }

bool IsPredefinedRoot(std::uint32_t root) {
  return root >= 0x80000000U && root <= 0x80000006U;
}

}  // namespace

std::string RecordingHost::Upper(const std::string& ansi) const {
  const std::u16string upper = UpperCaseAsciiAndCyrillic(
      utf8CodePage ? DecodeUtf8(ansi) : DecodeCp1252(ansi));
  return (utf8CodePage ? EncodeUtf8(upper) : EncodeCp1252(upper))
      .value_or(ansi);
}

// The registry path of a sub key, or nothing when it is not a valid path:
// a single trailing backslash is allowed, empty components are not.
std::optional<std::string> RecordingHost::StoredPath(
    std::uint32_t root, const std::string& subKey) const {
  std::string path = RootText(root);
  std::string trimmed = subKey;
  if (!trimmed.empty() && trimmed.back() == '\\') {
    trimmed.pop_back();
  }
  if (trimmed.empty()) {
    return path;
  }
  std::size_t start = 0;
  while (true) {
    const std::size_t end = trimmed.find('\\', start);
    const std::string part = trimmed.substr(
        start, end == std::string::npos ? std::string::npos : end - start);
    if (part.empty()) {
      return std::nullopt;
    }
    path += "\\" + Upper(part);
    if (end == std::string::npos) {
      return path;
    }
    start = end + 1;
  }
}

namespace {

// The keys directly below the stored path.
std::uint32_t SubKeyCount(const std::map<std::string, TestKey>& keys,
                          const std::string& path) {
  const std::string prefix = path + "\\";
  std::uint32_t count = 0;
  for (auto next = keys.lower_bound(prefix);
       next != keys.end() && next->first.rfind(prefix, 0) == 0; ++next) {
    if (next->first.find('\\', prefix.size()) == std::string::npos) {
      ++count;
    }
  }
  return count;
}

// The status of a call on an open key: the handle must be open, and its key
// still there.
std::uint32_t KeyStatus(const std::optional<TestKey*>& open) {
  if (!open) {
    return kErrorInvalidHandle;
  }
  return *open == nullptr ? kErrorKeyDeleted : kSuccess;
}

// A call that names a key by root and path.
RecordedCall OnRoot(RegistryCall call, std::uint32_t root,
                    const std::string& subKey, HostKey key) {
  RecordedCall recorded;
  recorded.call = call;
  recorded.root = root;
  recorded.subKey = subKey;
  recorded.key = key;
  return recorded;
}

// A call on a handle, open or not.
RecordedCall OnHandle(RegistryCall call, HostKey key, bool handleOpen) {
  RecordedCall recorded;
  recorded.call = call;
  recorded.key = key;
  recorded.handleOpen = handleOpen;
  return recorded;
}

}  // namespace

std::string Utf16File(const std::u16string& text) {
  return "\xFF\xFE" + Utf16Le(text);
}

std::string ExportedContent(const std::u16string& key) {
  return Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[" + key +
                   u"]\r\n\"Name\"=\"Value\"\r\n\r\n");
}

std::string RootText(std::uint32_t root) {
  const std::u16string digits = ToUpperAscii(HexText(root, 8));
  return std::string(digits.begin(), digits.end());
}

RecordingHost::RecordingHost() {
  files[kTestEditorPath] = TestFile{};
  for (std::uint32_t root = 0x80000000U; IsPredefinedRoot(root); ++root) {
    keys[RootText(root)];
  }
}

TestValue* RecordingHost::FindValue(const ValuePath& value) {
  const std::optional<std::string> path = StoredPath(value.root, value.subKey);
  const auto key = path ? keys.find(*path) : keys.end();
  if (key == keys.end()) {
    return nullptr;
  }
  const auto found = key->second.values.find(Upper(value.name));
  return found == key->second.values.end() ? nullptr : &found->second;
}

bool RecordingHost::KeyExists(std::uint32_t root,
                              const std::string& subKey) const {
  const std::optional<std::string> path = StoredPath(root, subKey);
  return IsPredefinedRoot(root) && path &&
         (*path == RootText(root) || keys.count(*path) != 0);
}

bool RecordingHost::HasSubKeys(std::uint32_t root,
                               const std::string& subKey) const {
  const std::optional<std::string> path = StoredPath(root, subKey);
  return path && SubKeyCount(keys, *path) != 0;
}

void RecordingHost::AddKey(std::uint32_t root, const std::string& subKey) {
  HostKey key = 0;
  if (RegCreateKeyA(root, subKey, &key) == 0) {
    RegCloseKey(key);
  }
  calls.clear();
}

std::u16string RecordingHost::CommandText() { return commandText; }

void RecordingHost::ShowMessageBox(const std::u16string& text, Icon icon,
                                   const std::u16string& title) {
  boxes.push_back(ShownBox{text, icon, title});
}

bool RecordingHost::FolderThere(const std::u16string& name) const {
  const std::u16string folder = FolderName(name);
  return folder.empty() || IsDrive(folder) || files.count(folder) != 0;
}

std::uint32_t RecordingHost::FileAttributes(const std::u16string& name,
                                            std::uint32_t* attributes) {
  const bool asFolder = !name.empty() && name.back() == u'\\';
  const std::u16string path = asFolder ? name.substr(0, name.size() - 1) : name;
  const auto file = files.find(path);
  if (file == files.end()) {
    return MissingError(path);
  }
  if (file->second.lookupError != 0) {
    return file->second.lookupError;
  }
  // As on Windows: a trailing backslash does not find a file.
  if (asFolder && (file->second.attributes & kAttributeDirectory) == 0) {
    return kErrorInvalidName;
  }
  *attributes = file->second.attributes;
  return kSuccess;
}

std::uint32_t RecordingHost::FileSize(const std::u16string& name,
                                      std::uint64_t* size) {
  std::uint32_t attributes = 0;
  const std::uint32_t error = FileAttributes(name, &attributes);
  if (error == kSuccess) {
    const bool asFolder = name.back() == u'\\';
    *size = (attributes & kAttributeDirectory) != 0
                ? 0
                : files.at(asFolder ? name.substr(0, name.size() - 1) : name)
                      .content.size();
  }
  return error;
}

std::uint32_t RecordingHost::MissingError(const std::u16string& name) const {
  return FolderThere(name) ? kErrorFileNotFound : kErrorPathNotFound;
}

std::uint32_t RecordingHost::HeldError(const std::u16string& name) const {
  const auto file = files.find(name);
  return file != files.end() && clockMs < file->second.heldUntilMs
             ? file->second.heldError
             : kSuccess;
}

// The descriptor is the old file's access list, read with its owner. The
// parameters are the seam's.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
std::uint32_t RecordingHost::CreateNewFile(const std::u16string& name,
                                           const std::u16string& like,
                                           std::u16string* owner) {
  TestFile created;
  if (!like.empty()) {
    const auto old = files.find(like);
    if (old == files.end() || readAccessListError != 0) {
      return old == files.end() ? MissingError(like) : readAccessListError;
    }
    const std::u16string& oldOwner = old->second.owner;
    if (!oldOwner.empty() && !TrustedOwner(oldOwner, accountSid)) {
      *owner = oldOwner;  // none of its accounts has a name
      return kErrorInvalidOwner;
    }
    created.accessList = oldOwner.empty() ? "" : old->second.accessList;
  }
  if (IsDeviceName(name)) {
    return kErrorBadDevice;
  }
  if (files.count(name) != 0) {
    return kErrorFileExists;
  }
  if (!FolderThere(name)) {
    return kErrorPathNotFound;
  }
  const auto folder = files.find(FolderName(name));
  if (folder != files.end() && folder->second.notWritableError != 0) {
    return folder->second.notWritableError;
  }
  if (newFilesLockedOut) {
    return kErrorCantAccessFile;  // made and removed again
  }
  files[name] = created;
  fileChanges.push_back(FileChange{FileChange::Create, name, u""});
  return kSuccess;
}

std::uint32_t RecordingHost::RemoveFile(const std::u16string& name) {
  const auto file = files.find(name);
  if (file == files.end()) {
    return MissingError(name);
  }
  if ((file->second.attributes & (kAttributeReadOnly | kAttributeDirectory)) !=
      0) {
    return kErrorAccessDenied;
  }
  if (HeldError(name) != kSuccess) {
    return HeldError(name);
  }
  files.erase(file);
  fileChanges.push_back(FileChange{FileChange::Remove, name, u""});
  return kSuccess;
}

// As on Windows, a read-only file may be renamed, but not replaced. The
// parameters are the seam's.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
std::uint32_t RecordingHost::RenameReplacing(const std::u16string& from,
                                             const std::u16string& to) {
  const auto file = files.find(from);
  if (file == files.end()) {
    return kErrorFileNotFound;
  }
  if (!FolderThere(to)) {
    return kErrorPathNotFound;
  }
  if (HeldError(from) != kSuccess) {
    return HeldError(from);
  }
  const auto old = files.find(to);
  if (old != files.end()) {
    if ((old->second.attributes & (kAttributeReadOnly | kAttributeDirectory)) !=
        0) {
      return kErrorAccessDenied;
    }
    if (HeldError(to) != kSuccess) {
      return HeldError(to);
    }
  }
  TestFile moved = file->second;
  files.erase(file);
  files[to] = moved;
  fileChanges.push_back(FileChange{FileChange::Rename, from, to});
  return kSuccess;
}

// What opening a file meets before reading or writing it: a missing file,
// a folder, or a file another program holds.
std::uint32_t RecordingHost::OpenError(const std::u16string& name) const {
  if (files.count(name) == 0) {
    return MissingError(name);
  }
  if (files.at(name).lookupError != 0) {
    return files.at(name).lookupError;
  }
  if ((files.at(name).attributes & kAttributeDirectory) != 0) {
    return kErrorAccessDenied;
  }
  return HeldError(name);
}

std::uint32_t RecordingHost::ReadFileBytes(const std::u16string& name,
                                           FileRange range,
                                           std::string* bytes) {
  if (files.count(name) != 0 &&
      (files.at(name).attributes & kAttributeDirectory) != 0) {
    return kErrorFileNotFound;
  }
  const std::uint32_t error = OpenError(name);
  if (error == kSuccess) {
    const std::string& content = files.at(name).content;
    *bytes = range.offset < content.size()
                 ? content.substr(range.offset, range.count)
                 : "";
  }
  return error;
}

std::uint32_t RecordingHost::FlushFile(const std::u16string& name) {
  std::uint32_t error = OpenError(name);
  if (error == kSuccess) {
    error = flushError;
  }
  if (error == kSuccess) {
    fileChanges.push_back(FileChange{FileChange::Flush, name, u""});
  }
  return error;
}

std::uint32_t RecordingHost::ProcessId() { return processId; }

void RecordingHost::Pause(std::chrono::milliseconds time) {
  clockMs += static_cast<std::uint64_t>(time.count());
}

bool RecordingHost::WindowStationVisible() { return stationVisible; }

std::uint32_t RecordingHost::SessionId() { return sessionId; }

std::uint32_t RecordingHost::QueryDosDeviceW(const std::u16string& drive,
                                             std::u16string* target) {
  const auto mapped = drives.find(drive);
  *target = mapped == drives.end() || IsShare(mapped->second)
                ? u"\\Device\\HarddiskVolume1"  // a disk's, or the network's
                : u"\\??\\" + mapped->second;
  return kSuccess;
}

std::uint32_t RecordingHost::NetworkPath(const std::u16string& fullPath,
                                         std::u16string* networkPath) {
  const auto mapped = drives.find(fullPath.substr(0, 2));
  if (mapped == drives.end() || !IsShare(mapped->second)) {
    return kErrorNotConnected;
  }
  *networkPath = mapped->second + fullPath.substr(2);
  return kSuccess;
}

std::u16string RecordingHost::EditorsPath(
    const std::u16string& fullPath) const {
  const auto mapped = drives.find(fullPath.substr(0, 2));
  return mapped == drives.end() ? fullPath
                                : mapped->second + fullPath.substr(2);
}

std::optional<std::string> RecordingHost::ToAnsi(const std::u16string& text) {
  return utf8CodePage ? EncodeUtf8(text) : EncodeCp1252(text);
}

std::optional<std::string> RecordingHost::ToSystemCodePage(
    const std::u16string& text) {
  return EncodeCp1252(text);
}

std::u16string RecordingHost::FromSystemCodePage(const std::string& bytes) {
  return DecodeCp1252(bytes);
}

std::u16string RecordingHost::UpperCase(const std::u16string& text) {
  return UpperCaseAsciiAndCyrillic(text);
}

// Against currentDirectory on its drive; "." and ".." taken out after the
// drive or the share.
std::uint32_t RecordingHost::FullPathName(const std::u16string& name,
                                          std::u16string* fullPath) {
  if (name.empty()) {
    return kErrorInvalidName;
  }
  std::u16string path = name;
  std::size_t keep = 2;  // the drive, or the share's two backslashes
  if (name.rfind(u"\\\\", 0) == 0) {
    keep = name.find(u'\\', name.find(u'\\', 2) + 1);
    keep = keep == std::u16string::npos ? name.size() : keep;
  } else if (name[0] == u'\\') {
    path = currentDirectory.substr(0, 2) + name;
  } else if (!IsDrive(name.substr(0, 2))) {
    path = currentDirectory + u"\\" + name;
  } else if (name.size() == 2 || name[2] != u'\\') {
    path = currentDirectory + u"\\" + name.substr(2);  // its drive's folder
  }
  std::vector<std::u16string> parts;
  for (std::size_t at = keep; at < path.size();) {
    const std::size_t end = std::min(path.find(u'\\', at + 1), path.size());
    const std::u16string part = path.substr(at + 1, end - at - 1);
    if (part == u".." && !parts.empty()) {
      parts.pop_back();
    } else if (part != u"." && part != u"..") {
      parts.push_back(part);
    }
    at = end;
  }
  *fullPath = path.substr(0, keep);
  for (const std::u16string& part : parts) {
    *fullPath += u"\\" + part;
  }
  return kSuccess;
}

std::u16string RecordingHost::WindowsDirectory() { return windowsDirectory; }

std::uint32_t RecordingHost::Record(RecordedCall call, std::uint32_t status) {
  if (!call.handleOpen) {
    ++badHandleUses;
  }
  call.status = status;
  calls.push_back(std::move(call));
  return status;
}

std::uint32_t RecordingHost::OpenOrCreate(std::uint32_t root,
                                          const std::string& subKey,
                                          bool create, HostKey* key) {
  *key = 0;
  if (!IsPredefinedRoot(root)) {
    return kErrorInvalidHandle;
  }
  const std::optional<std::string> path = StoredPath(root, subKey);
  if (!path) {
    return kErrorBadPathname;
  }
  if (*path != RootText(root) && keys.count(*path) == 0) {
    if (!create) {
      return kErrorFileNotFound;
    }
    // Creating a key creates the missing keys above it too.
    for (std::size_t cut = path->find('\\'); cut != std::string::npos;
         cut = path->find('\\', cut + 1)) {
      keys[path->substr(0, cut)];
    }
    keys[*path];
  }
  *key = nextHandle_++;
  openKeys[*key] = *path;
  return kSuccess;
}

std::optional<TestKey*> RecordingHost::OpenKey(HostKey key) {
  const auto open = openKeys.find(key);
  if (open == openKeys.end()) {
    return std::nullopt;
  }
  const auto found = keys.find(open->second);
  return found == keys.end() ? nullptr : &found->second;
}

std::uint32_t RecordingHost::RegCreateKeyA(std::uint32_t root,
                                           const std::string& subKey,
                                           HostKey* key) {
  const std::uint32_t status = OpenOrCreate(root, subKey, true, key);
  return Record(OnRoot(RegistryCall::CreateKey, root, subKey, *key), status);
}

std::uint32_t RecordingHost::RegOpenKeyA(std::uint32_t root,
                                         const std::string& subKey,
                                         HostKey* key) {
  const std::uint32_t status = OpenOrCreate(root, subKey, false, key);
  return Record(OnRoot(RegistryCall::OpenKey, root, subKey, *key), status);
}

std::uint32_t RecordingHost::RegSetValueExA(
    HostKey key, const std::string& name, std::uint32_t type,
    const std::vector<std::uint8_t>& data) {
  const std::optional<TestKey*> open = OpenKey(key);
  if (open && *open != nullptr) {
    (*open)->values[Upper(name)] = TestValue{name, type, data};
  }
  RecordedCall call = OnHandle(RegistryCall::SetValue, key, open.has_value());
  call.name = name;
  call.type = type;
  call.data = data;
  return Record(std::move(call), KeyStatus(open));
}

std::uint32_t RecordingHost::RegDeleteKeyA(std::uint32_t root,
                                           const std::string& subKey) {
  return Record(OnRoot(RegistryCall::DeleteKey, root, subKey, 0),
                DeleteKey(root, subKey));
}

std::uint32_t RecordingHost::DeleteKey(std::uint32_t root,
                                       const std::string& subKey) {
  if (!IsPredefinedRoot(root)) {
    return kErrorInvalidHandle;
  }
  const std::optional<std::string> path = StoredPath(root, subKey);
  if (!path) {
    return kErrorBadPathname;
  }
  // The roots themselves cannot be deleted, nor a key with sub keys.
  if (*path == RootText(root) || SubKeyCount(keys, *path) != 0) {
    return kErrorAccessDenied;
  }
  if (keys.erase(*path) == 0) {
    return kErrorFileNotFound;
  }
  return kSuccess;
}

std::uint32_t RecordingHost::RegQueryInfoKeyA(HostKey key,
                                              std::uint32_t* subKeys) {
  const std::optional<TestKey*> open = OpenKey(key);
  const std::uint32_t status = KeyStatus(open);
  if (status == kSuccess) {
    *subKeys = SubKeyCount(keys, openKeys.at(key));
  }
  return Record(OnHandle(RegistryCall::QueryInfo, key, open.has_value()),
                status);
}

std::uint32_t RecordingHost::RegDeleteValueA(HostKey key,
                                             const std::string& name) {
  const std::optional<TestKey*> open = OpenKey(key);
  std::uint32_t status = KeyStatus(open);
  if (status == 0 && (*open)->values.erase(Upper(name)) == 0) {
    status = kErrorFileNotFound;
  }
  RecordedCall call =
      OnHandle(RegistryCall::DeleteValue, key, open.has_value());
  call.name = name;
  return Record(std::move(call), status);
}

std::uint32_t RecordingHost::RegOpenKeyExW(std::uint32_t root,
                                           const std::u16string& subKey,
                                           HostKey* key) {
  const std::string ansi = ToAnsi(subKey).value_or("\\\\");
  std::uint32_t status = OpenOrCreate(root, ansi, false, key);
  const std::optional<TestKey*> open = OpenKey(*key);
  if (status == kSuccess && (*open)->readError != 0) {
    status = (*open)->readError;
    openKeys.erase(*key);
    *key = 0;
  }
  return Record(OnRoot(RegistryCall::OpenKeyToRead, root, ansi, *key), status);
}

std::uint32_t RecordingHost::RegQueryValueExW(HostKey key,
                                              const std::u16string& name,
                                              std::uint32_t* type,
                                              std::vector<std::uint8_t>* data) {
  const std::optional<TestKey*> open = OpenKey(key);
  std::uint32_t status = KeyStatus(open);
  const std::string ansi = ToAnsi(name).value_or("");
  if (status == kSuccess) {
    const auto found = (*open)->values.find(Upper(ansi));
    if (found == (*open)->values.end()) {
      status = kErrorFileNotFound;
    } else {
      *type = found->second.type;
      *data = found->second.data;
    }
  }
  RecordedCall call = OnHandle(RegistryCall::QueryValue, key, open.has_value());
  call.name = ansi;
  return Record(std::move(call), status);
}

std::uint32_t RecordingHost::RegCloseKey(HostKey key) {
  const bool open = openKeys.erase(key) != 0;
  return Record(OnHandle(RegistryCall::CloseKey, key, open),
                open ? kSuccess : kErrorInvalidHandle);
}

Launched RecordingHost::ShellExecuteExA(const std::string& file,
                                        const std::string& parameters,
                                        int showMode) {
  launches.push_back(Launch{file, parameters, showMode, files});
  if (!LaunchStarted(editor.launchResult)) {
    return Launched{editor.launchResult, 0, editor.launchError};
  }
  ++editorsRunning;
  if (!editor.givesProcess) {
    // Nothing can wait for it; here it is done at once, and none of its run
    // is time the tool spent.
    EndEditor(TestProcess{parameters, clockMs});
    return Launched{editor.launchResult, 0};
  }
  const HostProcess process = nextHandle_++;
  openProcesses[process] = TestProcess{parameters, clockMs + editor.runsMs};
  return Launched{editor.launchResult, process};
}

TestProcess* RecordingHost::Running(HostProcess process) {
  const auto open = openProcesses.find(process);
  if (open == openProcesses.end()) {
    ++badHandleUses;
    return nullptr;
  }
  return &open->second;
}

bool RecordingHost::WaitForProcess(HostProcess process,
                                   std::chrono::milliseconds timeout) {
  TestProcess* running = Running(process);
  if (running == nullptr || running->ended) {
    return true;
  }
  const std::uint64_t restMs =
      running->endsAtMs > clockMs ? running->endsAtMs - clockMs : 0;
  const auto timeoutMs = static_cast<std::uint64_t>(timeout.count());
  if (timeout != kWaitForever && restMs > timeoutMs) {
    clockMs += timeoutMs;
    return false;
  }
  clockMs += restMs;
  running->ended = true;
  EndEditor(*running);
  return true;
}

// The export's file is there already: the tool reserves it.
void RecordingHost::EndEditor(const TestProcess& process) {
  --editorsRunning;
  const std::vector<std::string> args = WindowsArguments(process.parameters);
  if (editor.exportWritten == "" || args.size() != 3 || args[0] != "/e") {
    return;
  }
  for (auto& [name, file] : files) {
    std::u16string full;
    if (FullPathName(name, &full) == kSuccess &&
        ToAnsi(EditorsPath(full)) == args[1]) {
      file.content = editor.exportWritten
                         ? *editor.exportWritten
                         : ExportedContent(DecodeUtf8(args[2]));
      file.heldError = editor.exportHeldError;
      file.heldUntilMs = editor.exportHeldMs == kForever
                             ? kForever
                             : process.endsAtMs + editor.exportHeldMs;
    }
  }
}

// Ended from outside, the editor writes nothing more.
bool RecordingHost::EndProcess(HostProcess process) {
  TestProcess* running = Running(process);
  if (running == nullptr || running->ended) {
    return true;
  }
  if (editor.endable) {
    running->ended = true;
    --editorsRunning;
  }
  return editor.endable;
}

void RecordingHost::CloseProcess(HostProcess process) {
  if (openProcesses.erase(process) == 0) {
    ++badHandleUses;
  }
}

}  // namespace tolvu
