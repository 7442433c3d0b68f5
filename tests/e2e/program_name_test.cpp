// The program's own name as batch files and scripts type it: tolvu.exe in a
// folder whose name has a blank, named with quotes around part of its path.
// The real file is started; only the command line the tool reads differs.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "case_fixture.h"
#include "registry_probe.h"
#include "run_program.h"

namespace tolvu_e2e {
namespace {

using tolvu_e2e::operator<<;

enum class Quoting {
  FolderWithItsBackslash,  // "C:\My Tools\"tolvu.exe, from "%~dp0"tolvu.exe
  Folder,                  // "C:\My Tools"\tolvu.exe
  BlankPartOnly,           // C:\"My Tools"\tolvu.exe
};

struct Form {
  const char* name;
  Quoting quoting;
};

class ProgramName : public TolvuCaseWithParam<Form> {
 protected:
  void SetUp() override {
    TolvuCaseWithParam<Form>::SetUp();
    toolFolder = WorkDir() + L"\\My Tools";
    ASSERT_NE(CreateDirectoryW(toolFolder.c_str(), nullptr), 0);
    ASSERT_NE(CopyFileW(BesideThisProgram(L"tolvu.exe").c_str(),
                        (toolFolder + L"\\tolvu.exe").c_str(), TRUE),
              0);
  }

  // The name as typed at the start of the command line.
  std::wstring TypedName(Quoting quoting) const {
    switch (quoting) {
      case Quoting::FolderWithItsBackslash:
        return L"\"" + toolFolder + L"\\\"tolvu.exe";
      case Quoting::Folder:
        return L"\"" + toolFolder + L"\"\\tolvu.exe";
      case Quoting::BlankPartOnly:
        return WorkDir() + L"\\\"My Tools\"\\tolvu.exe";
    }
    return L"";
  }

  std::wstring toolFolder;
};

TEST_P(ProgramName, WithPartOfItsPathQuotedStillWritesTheValue) {
  if (GetParam().quoting == Quoting::BlankPartOnly &&
      WorkDir().find(L' ') != std::wstring::npos) {
    GTEST_SKIP() << "the working folder itself has a blank";
  }
  StartOptions options;
  options.commandLine = TypedName(GetParam().quoting) +
                        WithCaseKey(L" add {key}\\Sub Name Value");

  const RunResult result =
      RunProcess(toolFolder + L"\\tolvu.exe", options, WorkDir());

  EXPECT_EQ(result.boxes, std::vector<Box>{});
  EXPECT_EQ(result.exitCode, 0U);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, CaseKey() + L"\\Sub", L"Name"),
            Sz(L"Value"));
}

INSTANTIATE_TEST_SUITE_P(
    BatchFiles, ProgramName,
    ::testing::Values(Form{"FolderWithItsBackslashQuoted",
                           Quoting::FolderWithItsBackslash},
                      Form{"FolderQuoted", Quoting::Folder},
                      Form{"BlankFolderNameQuoted", Quoting::BlankPartOnly}),
    ParamName<Form>);

}  // namespace
}  // namespace tolvu_e2e
