// The host the unit tests and the fuzzer run the tool on: an in-memory
// registry with key and value names compared without regard to case (of
// ASCII and Cyrillic letters), a scripted file system, editor and launch
// result, UTF-8 as the process code page beside Windows-1252 as the
// system's. It records every box, launch, file change and registry call in
// order; not the file look-ups and reads, the pauses or the conversions.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/files.h"
#include "host/host.h"

namespace tolvu {

struct ShownBox {
  std::u16string text;
  Icon icon;
  std::u16string title;
};

struct TestValue {
  std::string name;  // as last written
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

struct TestKey {
  std::map<std::string, TestValue> values;  // by upper-case name (Upper)
  std::uint32_t readError = 0;  // what opening it to read fails with
};

enum class RegistryCall {
  CreateKey,      // RegCreateKeyA
  OpenKey,        // RegOpenKeyA
  SetValue,       // RegSetValueExA
  DeleteKey,      // RegDeleteKeyA
  QueryInfo,      // RegQueryInfoKeyA
  DeleteValue,    // RegDeleteValueA
  CloseKey,       // RegCloseKey
  OpenKeyToRead,  // RegOpenKeyExW
  QueryValue,     // RegQueryValueExW
};

// One registry call as the tool made it: the arguments the call takes (the
// others stay empty), the handle it used or was given, and its status.
struct RecordedCall {
  RegistryCall call = RegistryCall::CloseKey;
  std::uint32_t root = 0;
  std::string subKey;
  HostKey key = 0;
  std::string name;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  bool handleOpen = true;  // false for a handle that was not open
  std::uint32_t status = 0;
};

// A value by where it is: root, ANSI sub key and value name.
struct ValuePath {
  std::uint32_t root = 0;
  std::string subKey;
  std::string name;
};

// The account the recording host runs the tool as, and owns its files.
constexpr const char16_t* kTestAccount = u"S-1-5-21-1-2-3-1001";

// A time on the host's clock that never comes.
constexpr std::uint64_t kForever = UINT64_MAX;

struct TestFile {
  std::uint32_t attributes = 0;  // FILE_ATTRIBUTE_* bits
  // What deleting, renaming, replacing, reading or flushing it fails with
  // while another program holds it.
  std::uint32_t heldError = 0;
  std::uint32_t lookupError = 0;         // what looking it up fails with
  std::string content;                   // its bytes
  std::string accessList{};              // stands for it; "" for the folder's
  std::uint64_t heldUntilMs = kForever;  // when the hold ends, on its clock
  std::u16string owner = kTestAccount;   // its owner's SID; "" for none
  std::uint32_t notWritableError = 0;    // a folder's, to creating a file in it
};

inline bool operator==(const TestFile& a, const TestFile& b) {
  return a.attributes == b.attributes && a.heldError == b.heldError &&
         a.lookupError == b.lookupError && a.content == b.content &&
         a.accessList == b.accessList && a.heldUntilMs == b.heldUntilMs &&
         a.owner == b.owner && a.notWritableError == b.notWritableError;
}

struct Launch {
  std::string file;
  std::string parameters;
  int showMode;
  std::map<std::u16string, TestFile> files;  // as the program found them
};

// The bytes of a file of UTF-16LE text with its byte-order mark, as the
// registry editor writes them.
std::string Utf16File(const std::u16string& text);

// What the recording host's editor writes for an export of the key unless
// told otherwise: a whole one.
std::string ExportedContent(
    const std::u16string& key = u"HKEY_CURRENT_USER\\A");

// A change the tool made to the files, as it made it.
struct FileChange {
  // Flush: its data written to disk.
  enum Kind { Create, Remove, Rename, Flush } kind = Create;
  std::u16string name;
  std::u16string to;  // the new name of a rename
};

inline bool operator==(const FileChange& a, const FileChange& b) {
  return a.kind == b.kind && a.name == b.name && a.to == b.to;
}

// A process the recording host started.
struct TestProcess {
  std::string parameters;
  // On the host's clock, when it ends by itself: it runs on while the tool
  // does other things.
  std::uint64_t endsAtMs = 0;
  bool ended = false;
};

// Statuses the registry gives the tool, which it passes on; only the
// recording host's registry needs them named.
constexpr std::uint32_t kErrorInvalidHandle = 6;  // ERROR_INVALID_HANDLE
constexpr std::uint32_t kErrorBadPathname = 161;  // ERROR_BAD_PATHNAME
constexpr std::uint32_t kErrorKeyDeleted = 1018;  // ERROR_KEY_DELETED

// A root key value as eight upper-case hexadecimal digits.
std::string RootText(std::uint32_t root);

// Where the recording host's registry editor is, as a file from the start;
// the tool launches it by this path.
constexpr const char16_t* kTestEditorPath = u"C:\\Windows\\regedit.exe";

// The registry editor the recording host launches, and how it behaves.
struct TestEditor {
  std::int32_t launchResult = 42;  // what ShellExecuteExA gives
  // False: a launch that starts the editor without a process to wait for.
  bool givesProcess = true;
  // How long it runs once started, and what its export writes into the file
  // when it ends ("" leaves it as it is; nothing: a whole export of the key
  // it was given).
  std::uint64_t runsMs = 0;
  std::optional<std::string> exportWritten;
  // Another program (a virus scanner) holds the export's file once the
  // editor has written it: what the file then fails with, and how long.
  std::uint32_t exportHeldError = 0;
  std::uint64_t exportHeldMs = 0;
  bool endable = true;  // false: EndProcess cannot end it

  // What a launch that fails gives as its last error.
  std::uint32_t launchError = 0;
};

class RecordingHost final : public Host {
 public:
  RecordingHost();

  // Scripted inputs.
  std::u16string commandText;
  // By exact name, without a trailing backslash; the registry editor is
  // there from the start. A name whose folder is missing is not found with
  // ERROR_PATH_NOT_FOUND (drive letters are always there).
  std::map<std::u16string, TestFile> files;
  std::u16string windowsDirectory = u"C:\\Windows";  // empty: unknown
  std::u16string currentDirectory = u"C:\\Work";     // on drive C:
  TestEditor editor;
  bool stationVisible = true;
  std::uint32_t sessionId = 1;  // 0: the services' session
  // False: an older Windows that ignores the manifest's code page, where the
  // process's is Windows-1252 too.
  bool utf8CodePage = true;
  std::uint32_t processId = 4242;
  // What reading an old file's owner and access list, or flushing a file,
  // fails with.
  std::uint32_t readAccessListError = 0;
  std::uint32_t flushError = 0;
  std::u16string accountSid = kTestAccount;  // the account running the tool

  // A new file's access list keeps the account from reading, writing or
  // deleting it.
  bool newFilesLockedOut = false;

  // Drive letters ("Z:") of the tool's logon session that stand for a share
  // (\\server\share), as a network drive, or for a folder (C:\Deploy), as
  // subst makes them. The editor runs in another session, which names their
  // files by what they stand for.
  std::map<std::u16string, std::u16string> drives;

  // What the run did.
  std::vector<ShownBox> boxes;
  std::vector<Launch> launches;
  std::vector<FileChange> fileChanges;  // those that succeeded, in order
  std::vector<RecordedCall> calls;      // registry calls, in order
  int badHandleUses = 0;                // calls with a key or process not open
  std::uint64_t clockMs = 0;            // time spent waiting and pausing
  std::map<HostProcess, TestProcess> openProcesses;
  int editorsRunning = 0;  // started and not yet ended

  // Keys by "ROOT\PATH" in upper case, root as 8 hex digits; the
  // predefined roots exist from the start.
  std::map<std::string, TestKey> keys;
  std::map<HostKey, std::string> openKeys;

  TestValue* FindValue(const ValuePath& value);
  bool KeyExists(std::uint32_t root, const std::string& subKey) const;
  bool HasSubKeys(std::uint32_t root, const std::string& subKey) const;
  void AddKey(std::uint32_t root, const std::string& subKey);

  std::u16string CommandText() override;
  void ShowMessageBox(const std::u16string& text, Icon icon,
                      const std::u16string& title) override;
  std::uint32_t FileAttributes(const std::u16string& name,
                               std::uint32_t* attributes) override;
  std::uint32_t FileSize(const std::u16string& name,
                         std::uint64_t* size) override;
  std::uint32_t CreateNewFile(const std::u16string& name,
                              const std::u16string& like,
                              std::u16string* owner) override;
  std::uint32_t RemoveFile(const std::u16string& name) override;
  std::uint32_t RenameReplacing(const std::u16string& from,
                                const std::u16string& to) override;
  std::uint32_t ReadFileBytes(const std::u16string& name, FileRange range,
                              std::string* bytes) override;
  std::uint32_t FlushFile(const std::u16string& name) override;
  std::uint32_t ProcessId() override;
  void Pause(std::chrono::milliseconds time) override;
  bool WindowStationVisible() override;
  std::optional<std::string> ToAnsi(const std::u16string& text) override;
  std::optional<std::string> ToSystemCodePage(
      const std::u16string& text) override;
  std::u16string FromSystemCodePage(const std::string& bytes) override;
  std::u16string UpperCase(const std::u16string& text) override;
  std::uint32_t FullPathName(const std::u16string& name,
                             std::u16string* fullPath) override;
  std::u16string WindowsDirectory() override;
  std::uint32_t RegCreateKeyA(std::uint32_t root, const std::string& subKey,
                              HostKey* key) override;
  std::uint32_t RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                            HostKey* key) override;
  std::uint32_t RegSetValueExA(HostKey key, const std::string& name,
                               std::uint32_t type,
                               const std::vector<std::uint8_t>& data) override;
  std::uint32_t RegDeleteKeyA(std::uint32_t root,
                              const std::string& subKey) override;
  std::uint32_t RegQueryInfoKeyA(HostKey key, std::uint32_t* subKeys) override;
  std::uint32_t RegDeleteValueA(HostKey key, const std::string& name) override;
  std::uint32_t RegOpenKeyExW(std::uint32_t root, const std::u16string& subKey,
                              HostKey* key) override;
  std::uint32_t RegQueryValueExW(HostKey key, const std::u16string& name,
                                 std::uint32_t* type,
                                 std::vector<std::uint8_t>* data) override;
  std::uint32_t RegCloseKey(HostKey key) override;
  Launched ShellExecuteExA(const std::string& file,
                           const std::string& parameters,
                           int showMode) override;
  bool WaitForProcess(HostProcess process,
                      std::chrono::milliseconds timeout) override;
  bool EndProcess(HostProcess process) override;
  void CloseProcess(HostProcess process) override;

  std::uint32_t SessionId() override;

  std::uint32_t QueryDosDeviceW(const std::u16string& drive,
                                std::u16string* target) override;
  std::uint32_t NetworkPath(const std::u16string& fullPath,
                            std::u16string* networkPath) override;

 private:
  // A name in the process's code page as the registry compares it.
  std::string Upper(const std::string& ansi) const;
  // The registry path of a sub key, or nothing when it is not a valid path.
  std::optional<std::string> StoredPath(std::uint32_t root,
                                        const std::string& subKey) const;
  // The folder of a name is there (drive letters always are).
  bool FolderThere(const std::u16string& name) const;
  // What a name of no file gives: 2, or 3 when its folder is missing.
  std::uint32_t MissingError(const std::u16string& name) const;
  // The file another program holds now; nothing when it is free or absent.
  std::uint32_t HeldError(const std::u16string& name) const;
  // What opening a file for its data meets: none, a folder, a hold.
  std::uint32_t OpenError(const std::u16string& name) const;
  std::uint32_t OpenOrCreate(std::uint32_t root, const std::string& subKey,
                             bool create, HostKey* key);
  std::uint32_t DeleteKey(std::uint32_t root, const std::string& subKey);
  // Notes the call with its status and returns the status.
  std::uint32_t Record(RecordedCall call, std::uint32_t status);
  // Nothing for a handle that is not open.
  std::optional<TestKey*> OpenKey(HostKey key);
  // What the editor leaves when it ends by itself.
  void EndEditor(const TestProcess& process);
  // A full path as the editor's session names it.
  std::u16string EditorsPath(const std::u16string& fullPath) const;
  // Nothing for a handle that is not open (counted as a bad use).
  TestProcess* Running(HostProcess process);
  HostKey nextHandle_ = 0x100;
};

}  // namespace tolvu
