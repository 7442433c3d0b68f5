// Each case gets a registry key of its own under HKCU\Software\TolvuE2E (and
// the same below HKEY_LOCAL_MACHINE, which the prefix's user may write) and
// a working folder of its own, all fresh at the start and removed at the
// end.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "run_program.h"
#include "support/row_name.h"

namespace tolvu_e2e {

inline constexpr std::wstring_view kSuiteKey = L"Software\\TolvuE2E";

// Rows named as the unit tests name theirs (a test file brings the printer
// in with `using tolvu_e2e::operator<<;`).
using tolvu_test::operator<<;
using tolvu_test::ParamName;

class TolvuCaseBase {
 protected:
  void PrepareCase();
  void CleanUpCase();

  // The case's key below HKEY_CURRENT_USER, without the root.
  const std::wstring& CaseKey() const { return caseKey_; }
  // The same key as the tool takes it: HKCU\Software\TolvuE2E\<case>.
  std::wstring CaseKeyArg() const { return L"HKCU\\" + caseKey_; }
  const std::wstring& WorkDir() const { return workDir_; }

  // `commandLine` with every {key} replaced by CaseKeyArg(), every {subkey}
  // by CaseKey() and every {work} by WorkDir().
  std::wstring WithCaseKey(const std::wstring& commandLine) const;

  // Runs tolvu.exe in the case's working folder, placeholders as in
  // WithCaseKey.
  RunResult RunTool(const std::wstring& commandLine) const;

 private:
  std::wstring caseKey_;
  std::wstring workDir_;
};

class TolvuCase : public TolvuCaseBase, public ::testing::Test {
 protected:
  void SetUp() override { PrepareCase(); }
  void TearDown() override { CleanUpCase(); }
};

template <typename Param>
class TolvuCaseWithParam : public TolvuCaseBase,
                           public ::testing::TestWithParam<Param> {
 protected:
  void SetUp() override { PrepareCase(); }
  void TearDown() override { CleanUpCase(); }
};

}  // namespace tolvu_e2e
