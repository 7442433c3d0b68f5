// Each case gets a registry key of its own under HKCU\Software\TolvuE2E (and
// the same below HKEY_LOCAL_MACHINE, which the prefix's user may write) and
// a working folder of its own, all fresh at the start and removed at the
// end.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>
#include <string_view>
#include <utility>

#include "run_program.h"

namespace tolvu_e2e {

inline constexpr std::wstring_view kSuiteKey = L"Software\\TolvuE2E";

// Each row of a parameter table has a `name`: it names the case, and it is
// what a failure message prints for the row (a test file brings the printer
// in with `using tolvu_e2e::operator<<;`).
template <typename Row>
std::string ParamName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

template <typename Row, typename = decltype(std::declval<const Row&>().name)>
std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << row.name;
}

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
