// The seam between the tool's logic and the platform. Everything the tool
// takes from Windows goes through a Host passed down explicitly: the Windows
// host makes the real calls, the recording host of the tests stands in for
// them.
//
// Every status below is a Win32 error code: 0 (ERROR_SUCCESS) for success,
// otherwise the code the system gave. A failure of the platform is such a
// status, never an exception; the only exception a method may throw is
// std::bad_alloc, when the memory for the text or bytes it returns runs
// out. None shows anything but ShowMessageBox.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvu {

enum class Icon { None, Information, Exclamation };

// An open registry key as the host hands it out; only ever passed back.
using HostKey = std::uintptr_t;

// A started process as the host hands it out; only ever passed back.
using HostProcess = std::uintptr_t;

// ShellExecute's result codes: above this one the program was started; this
// one and those below are its SE_ERR_* reasons why not.
constexpr std::int32_t kLastLaunchFailure = 32;

inline bool LaunchStarted(std::int32_t code) {
  return code > kLastLaunchFailure;
}

// What a shell launch gave: its result code (LaunchStarted or not) and the
// started process, 0 when there is none to wait for.
struct Launched {
  std::int32_t code = 0;
  HostProcess process = 0;

  // Why a launch failed, as the call itself says (GetLastError): the code
  // is only the shell's rough SE_ERR_* for it, or 0. 0 when it gave none.
  std::uint32_t lastError = 0;
};

// Bytes of a file: `count` of them from byte `offset`.
struct FileRange {
  std::uint64_t offset = 0;
  std::size_t count = 0;
};

// A range's count that reaches to the end of any file.
constexpr std::size_t kToTheEnd = SIZE_MAX;

// A wait without a time limit.
constexpr std::chrono::milliseconds kWaitForever =
    std::chrono::milliseconds::max();

class Host {
 public:
  Host() = default;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  Host(Host&&) = delete;
  Host& operator=(Host&&) = delete;
  virtual ~Host() = default;

  // The process command line after the program's own name, possibly empty.
  virtual std::u16string CommandText() = 0;

  // Tells the user the text under the title, with the icon, in a modal box
  // with one OK button, and returns once it is dismissed. Where no user
  // could answer a box (NobodySeesBoxes), or none can be shown, it returns
  // at once without waiting, and may put the text where a log can catch
  // it. Either way the caller goes on as if OK had been pressed.
  virtual void ShowMessageBox(const std::u16string& text, Icon icon,
                              const std::u16string& title) = 0;

  // Looks up a file or folder. Returns 0 and sets *attributes to its
  // FILE_ATTRIBUTE_* bits when there is one of that name. Otherwise returns
  // the lookup's error (2 when the name is missing, 3 when a folder on its
  // path is, or whatever else the lookup met, such as 53 for a network path
  // that cannot be reached) and leaves *attributes as it was. A name with a
  // trailing backslash names a folder: a file of that name is not found
  // then (123, ERROR_INVALID_NAME, on Windows; 3 under Wine).
  virtual std::uint32_t FileAttributes(const std::u16string& name,
                                       std::uint32_t* attributes) = 0;
  // Looks up the size of a file in bytes. Returns 0 and sets *size when
  // there is one of that name (0 for a folder); otherwise the lookup's
  // error, as for FileAttributes, and *size is as it was.
  virtual std::uint32_t FileSize(const std::u16string& name,
                                 std::uint64_t* size) = 0;
  // Creates an empty file of that name, only when no file or folder has it
  // yet: two callers never both create the same name. Returns 0 when it was
  // created (the caller owns it and removes it when done), 80
  // (ERROR_FILE_EXISTS) when the name is taken, or the error that kept it
  // from being made (3 for a missing folder, 5 for a folder the user may not
  // write to). A name Windows takes for a device (NUL, COM1, with or
  // without an extension) makes no file: 1200 (ERROR_BAD_DEVICE) when it
  // opens the device or finds it there, otherwise the error of opening it
  // (6 for CON, 2 for PRN under Wine).
  //
  // With `like` empty the file gets the access list its folder gives it.
  // Otherwise `like` names an existing file, whose security descriptor is
  // read once, owner and access list together. When TrustedOwner takes its
  // owner, the file is created with that access list and its protection
  // from inheritance already on it, from its first moment (the entries
  // `like` inherited are the folder's again); its owner is whoever creates
  // it. When not, nothing is made, *owner is set to the owner as
  // DOMAIN\name (its SID where the account has no name) and it returns 1307
  // (ERROR_INVALID_OWNER); *owner is as it was in every other case. A file
  // system that keeps no owners (FAT, exFAT) keeps no access lists either:
  // there the file is made as with `like` empty.
  //
  // Once made, the file is opened again as its caller will open it, to
  // read, write and delete it. Where its access list refuses this account
  // that (an old file locked to Administrators and SYSTEM, run by an
  // administrator without elevation, whose token holds Administrators only
  // to deny), it is removed through the handle that made it, which holds
  // that access whatever the list says, and it returns 1920
  // (ERROR_CANT_ACCESS_FILE).
  virtual std::uint32_t CreateNewFile(const std::u16string& name,
                                      const std::u16string& like,
                                      std::u16string* owner) = 0;
  // Deletes the file. Returns 0 when it is gone; otherwise the error, and
  // the file is as it was: 2 when there is none of that name, 3 when its
  // folder is missing, 5 for a read-only file.
  virtual std::uint32_t RemoveFile(const std::u16string& name) = 0;
  // Renames the file `from` to `to` in one step, replacing a file of the
  // name `to`: at no moment is there no file of that name. Returns 0 when
  // renamed; otherwise the error (5 when `to` is read-only or a folder, 5
  // or 32 when another program has it open), and both files are as they
  // were. The rename alone is written through; the data of `from` is not
  // (FlushFile is).
  virtual std::uint32_t RenameReplacing(const std::u16string& from,
                                        const std::u16string& to) = 0;
  // Reads the range of the file into *bytes: fewer at its end, none from
  // past it; memory in proportion to the bytes read, not to the count
  // asked for. Returns 0; otherwise the error of opening or reading it (2
  // for a folder, which is no file to read, as for a missing name; 5 when
  // the user may not read it, 32 while another program holds it without
  // sharing), and *bytes is as it was.
  virtual std::uint32_t ReadFileBytes(const std::u16string& name,
                                      FileRange range, std::string* bytes) = 0;
  // Has the system write what it still holds of the file's data to the disk
  // (FlushFileBuffers on a handle opened for writing). Returns 0 once it is
  // there; otherwise the error of opening or flushing (5 or 32 while
  // another program holds it, or what the disk gave).
  virtual std::uint32_t FlushFile(const std::u16string& name) = 0;

  // This process's identifier: no other process running has the same.
  virtual std::uint32_t ProcessId() = 0;

  // Returns after about that long; the host's clock, for waits that give
  // another program time.
  virtual void Pause(std::chrono::milliseconds time) = 0;

  // False on a window station that no user sees (services, deployment
  // agents, tasks run as SYSTEM), where a box would never be answered; true
  // on one a user sees, and when that cannot be told.
  virtual bool WindowStationVisible() = 0;

  // The Remote Desktop Services session of this process
  // (ProcessIdToSessionId). 0 is the services' session, which no user has
  // seen since Windows Vista, not even on its one station marked visible
  // (services marked interactive, psexec -s -i 0). 1, a user's, when it
  // cannot be told.
  virtual std::uint32_t SessionId() = 0;

  // The text in the process's ANSI code page, the one the ANSI registry and
  // shell calls take: UTF-8 where Windows honours the program's manifest,
  // the system's code page (as below) where it does not. Nothing when a
  // character has no exact representation there (no best-fit substitute is
  // ever made; in UTF-8, only a lone surrogate has none). The empty text
  // gives the empty string.
  virtual std::optional<std::string> ToAnsi(const std::u16string& text) = 0;
  // The same in the system's ANSI code page, the one Windows gives programs
  // that declare none (1252 on a Western system), whatever this process
  // uses.
  virtual std::optional<std::string> ToSystemCodePage(
      const std::u16string& text) = 0;

  // The bytes as text in the system's ANSI code page (MultiByteToWideChar,
  // as ToSystemCodePage's reverse), of any length. A byte or sequence the
  // code page leaves undefined becomes what the system makes of it (in
  // Windows-1252, bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D become the C1
  // control of the same number); it never fails.
  virtual std::u16string FromSystemCodePage(const std::string& bytes) = 0;

  // The text with its letters in upper case as the registry folds key and
  // value names to compare them without regard to case, in any language:
  // by the system's own case table, whatever the user's locale. Two names
  // are the same to the registry when their upper cases are equal. Never
  // fails; the result has as many code units as the text.
  virtual std::u16string UpperCase(const std::u16string& text) = 0;

  // The full path of a file name as the system resolves it now
  // (GetFullPathNameW): a relative name against the current folder and
  // drive, "." and ".." taken out; a network path stays as it is. Returns 0
  // and sets *fullPath; otherwise the error (123 for a name that cannot be
  // a path), and *fullPath is as it was. The file need not exist.
  virtual std::uint32_t FullPathName(const std::u16string& name,
                                     std::u16string* fullPath) = 0;

  // The system's Windows folder, where the registry editor lives, without a
  // trailing backslash; empty when the system does not say.
  virtual std::u16string WindowsDirectory() = 0;

  // What drive letters stand for in this logon session, which another (one
  // elevated by User Account Control) does not share.
  //
  // QueryDosDeviceW sets *target to the first name the drive ("Z:") stands
  // for: "\??\" and a path for a subst letter ("\??\C:\Deploy"), a
  // device for any other ("\Device\HarddiskVolume3"). Returns 0; otherwise
  // the error (2 for a letter that names nothing), and *target is as it was.
  virtual std::uint32_t QueryDosDeviceW(const std::u16string& drive,
                                        std::u16string* target) = 0;
  // The network path of a full path on a network drive
  // ("\\server\share\x.reg" for "Z:\x.reg"): WNetGetUniversalNameW's
  // UNIVERSAL_NAME_INFO, asked only where GetDriveTypeW finds the drive
  // DRIVE_REMOTE. Returns 0 and sets *networkPath; otherwise the error
  // (2250, ERROR_NOT_CONNECTED, on a drive that is no network drive), and
  // *networkPath is as it was.
  virtual std::uint32_t NetworkPath(const std::u16string& fullPath,
                                    std::u16string* networkPath) = 0;

  // Registry calls, named and shaped after the advapi32 functions they wrap.
  // Roots are the 32-bit predefined key values (0x80000000 to 0x80000006);
  // sub keys and names are ANSI text. Each returns the call's status.
  //
  // RegCreateKeyA creates the key below the root (and any missing keys on
  // the way) or opens it when it exists; RegOpenKeyA opens an existing key
  // with the access the caller is allowed. An empty sub key opens the root
  // itself. On success *key holds the open key, which the caller owns and
  // closes with RegCloseKey; on failure *key is 0 and nothing is open.
  virtual std::uint32_t RegCreateKeyA(std::uint32_t root,
                                      const std::string& subKey,
                                      HostKey* key) = 0;
  virtual std::uint32_t RegOpenKeyA(std::uint32_t root,
                                    const std::string& subKey,
                                    HostKey* key) = 0;
  // Writes the value of that name (the key's default value for "") with
  // the type code and exactly these bytes, replacing any value of that name
  // and whatever its type. On failure the key is as it was.
  virtual std::uint32_t RegSetValueExA(
      HostKey key, const std::string& name, std::uint32_t type,
      const std::vector<std::uint8_t>& data) = 0;
  // Deletes the key below the root. A key with sub keys, and a root itself,
  // are refused (5), and nothing is deleted then.
  virtual std::uint32_t RegDeleteKeyA(std::uint32_t root,
                                      const std::string& subKey) = 0;
  // Sets *subKeys to the number of sub keys of the open key (RegQueryInfoKeyA
  // with the rest left out). On failure *subKeys is as it was.
  virtual std::uint32_t RegQueryInfoKeyA(HostKey key,
                                         std::uint32_t* subKeys) = 0;
  // Deletes one value of the open key ("" for the default value); 2 when
  // there is none of that name.
  virtual std::uint32_t RegDeleteValueA(HostKey key,
                                        const std::string& name) = 0;
  // Reading back in UTF-16, where the ANSI calls would convert the data:
  // RegOpenKeyExW opens an existing key below the root for
  // KEY_QUERY_VALUE and KEY_ENUMERATE_SUB_KEYS alone (KEY_READ would also
  // ask for READ_CONTROL and KEY_NOTIFY, which a key's owner may withhold),
  // the sub key in UTF-16 ("" opens the root itself), with *key as for
  // RegOpenKeyA (2 when there is no such key, 5 when the user may not read
  // it). RegQueryValueExW reads the whole value of that name ("" for the
  // default value), names compared without regard to case as the registry
  // does: on 0 *type and *data hold its type code and exactly its bytes,
  // REG_SZ in UTF-16 as stored; on failure (2 when there is no such value)
  // both are as they were.
  virtual std::uint32_t RegOpenKeyExW(std::uint32_t root,
                                      const std::u16string& subKey,
                                      HostKey* key) = 0;
  virtual std::uint32_t RegQueryValueExW(HostKey key,
                                         const std::u16string& name,
                                         std::uint32_t* type,
                                         std::vector<std::uint8_t>* data) = 0;
  // Closes a key the host handed out; the handle is not used again.
  virtual std::uint32_t RegCloseKey(HostKey key) = 0;

  // ShellExecuteExA(no owner, "open", file, parameters, no directory, show),
  // with no box of the shell's own; the parameters are ANSI text. Returns
  // the result code, LaunchStarted when the program was started and one of
  // ShellExecute's SE_ERR_* codes when not, and the started process: 0 when
  // there is none to wait for, always 0 when not started. A launch that
  // failed also gives the call's last error (1223, ERROR_CANCELLED, when
  // the user declined the program's elevation prompt).
  // A process handed out is the caller's, to let go with CloseProcess.
  virtual Launched ShellExecuteExA(const std::string& file,
                                   const std::string& parameters,
                                   int showMode) = 0;
  // Waits up to `timeout` (kWaitForever: as long as it takes) for the
  // process to end. Returns true when it has ended, false when it still
  // runs after the time. A wait that cannot be made returns true at once,
  // so that no caller waits on a process it cannot watch.
  virtual bool WaitForProcess(HostProcess process,
                              std::chrono::milliseconds timeout) = 0;
  // Ends the process, if it still runs, and waits until it has ended.
  // Returns true when it has ended; false when it could not be ended, and
  // it runs on.
  virtual bool EndProcess(HostProcess process) = 0;
  // Lets go of the process; if it still runs, it runs on.
  virtual void CloseProcess(HostProcess process) = 0;
};

}  // namespace tolvu
