// Runs where no user could answer a box: a window station that is not
// visible, as deployment agents, services and tasks running as SYSTEM have.
// Each case runs twice, on the driver's own desktop, where its boxes are read
// and answered, and on a hidden station, where the same run must end by
// itself with the boxes' titles and texts on standard error instead, and
// with the same exit status and the same effect.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "case_fixture.h"
#include "editor_case.h"
#include "hidden_station.h"
#include "registry_probe.h"
#include "run_program.h"
#include "work_files.h"

namespace tolvu_e2e {
namespace {

using tolvu_e2e::operator<<;

// A box nobody answers would keep the tool waiting far longer than this.
constexpr DWORD kHiddenRunTimeoutMs = 15000;

enum class Kind { Usage, Overflow, EditorMissing, ReadOnlyExport, Add, Import };

struct Unattended {
  const char* name;
  Kind kind;
  const wchar_t* commandLine;
  DWORD exitCode;
  std::size_t boxes;  // on a visible station
};

class UnattendedRun : public EditorCase<TolvuCaseWithParam<Unattended>> {
 protected:
  using Base = EditorCase<TolvuCaseWithParam<Unattended>>;

  void SetUp() override {
    Base::SetUp();
    ASSERT_EQ(Utf8(station.Error()), "");
    ASSERT_FALSE(station.Visible()) << "the station the cases need is visible";
    if (GetParam().kind == Kind::EditorMissing) {
      aside.emplace();
      ASSERT_EQ(Utf8(aside->Error()), "");
    }
  }

  void TearDown() override {
    aside.reset();
    Base::TearDown();
  }

  // The same start for both runs: no key below the case key, and the files
  // the case needs.
  void Prepare() const {
    DeleteKeyTree(HKEY_CURRENT_USER, CaseKey() + L"\\Sub");
    DeleteKeyTree(HKEY_CURRENT_USER, CaseKey() + L"\\Imported");
    for (const auto& name : FolderEntries(WorkDir())) {
      SetFileAttributesW(InWork(name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(InWork(name).c_str());
    }
    WriteImportFile(L"settings.reg");
    ASSERT_TRUE(WriteFileBytes(InWork(L"out.reg"), RegFileBytes(L"; old")));
    ASSERT_NE(
        SetFileAttributesW(InWork(L"out.reg").c_str(), FILE_ATTRIBUTE_READONLY),
        0);
  }

  RunResult Run(const std::wstring& desktop) const {
    StartOptions options;
    options.commandLine = ProgramCommandLine(
        BesideThisProgram(L"tolvu.exe"), WithCaseKey(GetParam().commandLine));
    options.desktop = desktop;
    options.captureOutput = true;
    options.timeoutMs = kHiddenRunTimeoutMs;
    options.startedWaitMs = kEditorWaitMs;
    return RunProcess(BesideThisProgram(L"tolvu.exe"), options, WorkDir());
  }

  // What the run must have left, on either station.
  void ExpectEffect(const RunResult& result) const {
    const Kind kind = GetParam().kind;
    EXPECT_EQ(result.processesStarted, kind == Kind::Import ? 1U : 0U);
    std::vector<std::wstring> tree;
    if (kind == Kind::Overflow) {
      tree = {L"Sub"};  // the key stays, without the value
    } else if (kind == Kind::Add) {
      tree = {L"Sub", L"Sub:N"};
    }
    if (kind == Kind::Import) {
      ExpectImported();
    } else {
      EXPECT_EQ(KeyTree(HKEY_CURRENT_USER, CaseKey()), tree);
    }
    EXPECT_EQ(ReadFileBytes(InWork(L"out.reg")), RegFileBytes(L"; old"));
  }

  HiddenStation station;
  std::optional<EditorAside> aside;
};

TEST_P(UnattendedRun, EndsByItselfWithTheBoxesOnStandardError) {
  Prepare();
  const RunResult seen = Run(L"");
  ASSERT_EQ(seen.boxes.size(), GetParam().boxes)
      << ::testing::PrintToString(seen);
  EXPECT_EQ(seen.exitCode, GetParam().exitCode);
  EXPECT_EQ(seen.standardOutput, "");
  EXPECT_EQ(seen.standardError, "");
  ExpectEffect(seen);

  Prepare();
  const RunResult unseen = Run(station.Desktop());

  EXPECT_FALSE(unseen.timedOut) << "the tool waited for a box nobody can see";
  EXPECT_EQ(unseen.exitCode, seen.exitCode);
  std::string reported;
  for (const Box& box : seen.boxes) {
    reported += Utf8(box.title + L": " + box.text + L"\r\n");
  }
  EXPECT_EQ(unseen.standardError, reported);
  EXPECT_EQ(unseen.standardOutput, "");
  ExpectEffect(unseen);
}

INSTANTIATE_TEST_SUITE_P(
    HiddenStation, UnattendedRun,
    ::testing::Values(
        Unattended{"UsageBox", Kind::Usage, L"frobnicate {key}\\Sub",
                   ERROR_INVALID_COMMAND_LINE, 1},
        Unattended{"DwordOverflow", Kind::Overflow,
                   L"add {key}\\Sub N 2147483648 REG_DWORD",
                   ERROR_ARITHMETIC_OVERFLOW, 1},
        Unattended{"EditorMissing", Kind::EditorMissing, L"import settings.reg",
                   ERROR_FILE_NOT_FOUND, 1},
        // A key that is there: the key is checked before the file.
        Unattended{"ExportToReadOnlyTarget", Kind::ReadOnlyExport,
                   L"export HKCU\\Software out.reg", ERROR_ACCESS_DENIED, 1},
        // The main flow's own failure path: a description, then the usage.
        Unattended{"DescriptionThenUsage", Kind::Usage, L"import \xD800.reg",
                   ERROR_INVALID_COMMAND_LINE, 2},
        Unattended{"SilentAdd", Kind::Add, L"add {key}\\Sub N V", 0, 0},
        Unattended{"ImportRunsTheEditor", Kind::Import, L"import settings.reg",
                   0, 0}),
    ParamName<Unattended>);

}  // namespace
}  // namespace tolvu_e2e
