// The recording host stands in for the registry in every other test: these
// check that it behaves as the Windows registry does where that matters.
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

#include "cli/data_types.h"
#include "host/files.h"
#include "host/status_codes.h"
#include "test_support.h"

namespace tolvu {
namespace {

TEST(RecordingHostTest, NamesAreCaseInsensitive) {
  RecordingHost host;
  HostKey key = 0;
  ASSERT_EQ(host.RegCreateKeyA(kTestHkcu, "Soft\\Key", &key), 0);
  host.RegSetValueExA(key, "Name", kRegSz, {'a', 0});
  host.RegSetValueExA(key, "NAME", kRegSz, {'b', 0});
  host.RegCloseKey(key);
  EXPECT_TRUE(host.KeyExists(kTestHkcu, "SOFT\\key"));
  ASSERT_NE(host.FindValue({kTestHkcu, "soft\\KEY", "name"}), nullptr);
  EXPECT_EQ(host.FindValue({kTestHkcu, "soft\\KEY", "name"})->data,
            (std::vector<std::uint8_t>{'b', 0}));
  EXPECT_EQ(host.FindValue({kTestHkcu, "soft\\KEY", "name"})->name, "NAME");
}

TEST(RecordingHostTest, SubKeysWithSimilarNamesDoNotHideEachOther) {
  RecordingHost host;
  host.AddKey(kTestHkcu, "A B");
  host.AddKey(kTestHkcu, "A\\C");
  EXPECT_EQ(host.RegDeleteKeyA(kTestHkcu, "A"), kErrorAccessDenied);
  EXPECT_EQ(host.RegDeleteKeyA(kTestHkcu, "A B"), 0);
}

TEST(RecordingHostTest, HandlesMustBeOpen) {
  RecordingHost host;
  EXPECT_NE(host.RegCloseKey(12345), 0);
  EXPECT_NE(host.RegSetValueExA(12345, "N", kRegSz, {0}), 0);
  EXPECT_EQ(host.badHandleUses, 2);
}

TEST(RecordingHostTest, PathsAreCheckedLikeTheRegistry) {
  RecordingHost host;
  HostKey key = 0;
  EXPECT_EQ(host.RegOpenKeyA(kTestHkcu, "Missing", &key), kErrorFileNotFound);
  EXPECT_EQ(host.RegCreateKeyA(kTestHkcu, "\\Lead", &key), kErrorBadPathname);
  EXPECT_EQ(host.RegCreateKeyA(0x12345678, "A", &key), kErrorInvalidHandle);
  EXPECT_EQ(host.RegCreateKeyA(kTestHkcu, "Trail\\", &key), 0);
  host.RegCloseKey(key);
  EXPECT_TRUE(host.KeyExists(kTestHkcu, "Trail"));
  // Every predefined root is there from the start, with nothing below it.
  ASSERT_EQ(host.RegOpenKeyA(0x80000003, "", &key), 0);
  EXPECT_EQ(host.RegSetValueExA(key, "N", kRegSz, {0}), 0);
  host.RegCloseKey(key);
  EXPECT_TRUE(host.openKeys.empty());
}

// As on Windows, a trailing backslash names a folder only.
TEST(RecordingHostTest, FileSizeOfAFolderOrAFile) {
  RecordingHost host;
  host.files[u"F"] = TestFile{kAttributeDirectory, 0, 0, ""};
  host.files[u"a.reg"] = TestFile{0, 0, 0, "abc"};
  for (const auto& [name, status, size] :
       {std::tuple<std::u16string, std::uint32_t, std::uint64_t>{u"F\\", 0, 0},
        {u"F", 0, 0},
        {u"a.reg", 0, 3},
        {u"a.reg\\", kErrorInvalidName, 7}}) {
    std::uint64_t found = 7;
    EXPECT_EQ(host.FileSize(name, &found), status);
    EXPECT_EQ(found, size);
  }
}

// The clock counts only the tool's waits: an editor runs on while the tool
// pauses, one ended costs no more, and one with no process none at all.
TEST(RecordingHostTest, ClockCountsOnlyTheWaits) {
  for (const auto& [gives, end, pauseMs, ended, clockMs] :
       {std::tuple<bool, bool, int, bool, std::uint64_t>{false, false, 0, true,
                                                         0},
        {true, true, 0, true, 0},
        {true, false, 3000000, true, 3600000},
        {true, false, 0, false, 600000}}) {
    RecordingHost host;
    host.editor.runsMs = 3600000;
    host.editor.givesProcess = gives;
    const HostProcess process = host.ShellExecuteExA("e", "", 0).process;
    host.Pause(std::chrono::milliseconds(pauseMs));
    if (process != 0) {
      EXPECT_TRUE(!end || host.EndProcess(process));
      EXPECT_EQ(host.WaitForProcess(process, std::chrono::minutes(10)), ended);
      host.CloseProcess(process);
    }
    EXPECT_EQ(host.clockMs, clockMs);
    EXPECT_EQ(host.editorsRunning, ended ? 0 : 1);
  }
}

}  // namespace
}  // namespace tolvu
