// The harness's own checks, against stand_in.exe whose boxes are known: the
// tool's cases are only as good as the harness's reading of boxes, icons,
// command lines and hangs.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <ostream>
#include <string>
#include <vector>

#include "case_fixture.h"
#include "run_program.h"
#include "usage_text.h"
#include "work_files.h"

namespace tolvu_e2e {
namespace {

RunResult RunProbe(const std::wstring& commandLine, const std::wstring& workDir,
                   DWORD timeoutMs = kDefaultRunTimeoutMs) {
  return RunProgram(BesideThisProgram(L"stand_in.exe"), commandLine, workDir,
                    timeoutMs);
}

struct IconCase {
  const wchar_t* style;  // stand_in's word for the icon
  BoxIcon expected;
};

void PrintTo(const IconCase& param, std::ostream* out) {
  *out << "stand_in "
       << std::string(param.style, param.style + wcslen(param.style));
}

class HarnessIcon : public TolvuCaseWithParam<IconCase> {};

TEST_P(HarnessIcon, TellsTheIconOfABox) {
  const IconCase& param = GetParam();
  const RunResult result =
      RunProbe(std::wstring(param.style) + L" \"A title\" \"Some text\" exit 3",
               WorkDir());
  ASSERT_TRUE(result.harnessError.empty()) << ::testing::PrintToString(result);
  EXPECT_EQ(result.boxes,
            (std::vector<Box>{{L"A title", L"Some text", param.expected}}));
  EXPECT_EQ(result.exitCode, 3U);
}

// Error and question icons are neither of the two the tool uses; the
// question icon is drawn much like the information icon, so it shows that
// the comparison is strict enough.
INSTANTIATE_TEST_SUITE_P(
    Icons, HarnessIcon,
    ::testing::Values(IconCase{L"information", BoxIcon::Information},
                      IconCase{L"exclamation", BoxIcon::Exclamation},
                      IconCase{L"none", BoxIcon::None},
                      IconCase{L"error", BoxIcon::Unrecognised},
                      IconCase{L"question", BoxIcon::Unrecognised}));

using Harness = TolvuCase;

TEST_F(Harness, CollectsBoxesInOrderWithExactTextsAndTheExitCode) {
  const RunResult result = RunProbe(
      L"information First \"line 1\\nline 2 with a blank at its end \\n\" "
      L"none Second \"Just one line\" exit 1639",
      WorkDir());
  EXPECT_EQ(result.boxes,
            (std::vector<Box>{
                {L"First", L"line 1\r\nline 2 with a blank at its end \r\n",
                 BoxIcon::Information},
                {L"Second", L"Just one line", BoxIcon::None}}));
  EXPECT_EQ(result.exitCode, 1639U);
  EXPECT_FALSE(result.timedOut);
}

TEST_F(Harness, ReadsTheLongUsageTextWhole) {
  std::wstring probeText = UsageText();
  for (size_t at = probeText.find(L"\r\n"); at != std::wstring::npos;
       at = probeText.find(L"\r\n", at)) {
    probeText.replace(at, 2, L"\\n");
  }
  // The usage text holds double quotes; CommandLineToArgvW takes \" for one.
  std::wstring escaped;
  for (wchar_t c : probeText) {
    if (c == L'"') {
      escaped += L'\\';
    }
    escaped += c;
  }
  const RunResult result =
      RunProbe(L"information \"Tolvu 1.1\" \"" + escaped + L"\"", WorkDir());
  EXPECT_EQ(result.boxes, std::vector<Box>{UsageBox()});
}

TEST_F(Harness, ABoxThatIsNotShownFailsTheComparison) {
  const RunResult result = RunProbe(L"exit 1639", WorkDir());
  EXPECT_TRUE(result.boxes.empty());
  EXPECT_NONFATAL_FAILURE(EXPECT_EQ(result.boxes, std::vector<Box>{UsageBox()}),
                          "UsageBox()");
}

TEST_F(Harness, KillsAProgramThatDoesNotEndInTime) {
  const RunResult result = RunProbe(L"sleep 60000 exit 0", WorkDir(), 1500);
  EXPECT_TRUE(result.timedOut);
  EXPECT_TRUE(result.boxes.empty());
}

TEST_F(Harness, KillsAProgramThatKeepsShowingBoxes) {
  std::wstring manyBoxes;
  for (int i = 0; i < 200; ++i) {
    manyBoxes += L"none T x sleep 100 ";
  }
  const RunResult result = RunProbe(manyBoxes, WorkDir(), 3000);
  EXPECT_TRUE(result.timedOut);
  EXPECT_FALSE(result.boxes.empty());
}

// What the program starts and leaves running is counted, and waited for on
// request: the cases rely on both around the registry editor.
TEST_F(Harness, CountsTheProcessesAProgramStarts) {
  const RunResult none = RunProbe(L"exit 0", WorkDir());
  EXPECT_EQ(none.processesStarted, 0U);

  const RunResult waited = RunProgram(BesideThisProgram(L"stand_in.exe"),
                                      L"spawn 1000 spawn 1000 exit 0",
                                      WorkDir(), kDefaultRunTimeoutMs, 20000);
  EXPECT_EQ(waited.processesStarted, 2U);
  EXPECT_FALSE(waited.startedStillRunning);
}

// Blanks, tabs and quotes must reach the program as typed, in the case's
// working folder (stand_in writes its command line there).
class HarnessCommandLine : public TolvuCaseWithParam<const wchar_t*> {};

TEST_P(HarnessCommandLine, ArrivesExactlyAsTyped) {
  const std::wstring tail = GetParam();
  const RunResult result = RunProbe(tail, WorkDir());
  ASSERT_TRUE(result.harnessError.empty()) << ::testing::PrintToString(result);
  std::wstring expected = L"\"" + BesideThisProgram(L"stand_in.exe") + L"\"";
  if (!tail.empty()) {
    expected += L" " + tail;
  }
  EXPECT_EQ(ReadFileBytes(WorkDir() + L"\\cmdline.txt"), Utf16Bytes(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HarnessCommandLine,
    ::testing::Values(L"", L"add", L"  add\t\"HKCU\\x\\My Key\"   \t",
                      L"\"add\" a\"b c\"d \"unclosed tail  "));

}  // namespace
}  // namespace tolvu_e2e
