#include "case_fixture.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "registry_probe.h"

namespace tolvu_e2e {
namespace {

// Test names become key and folder names; keep them to plain characters.
std::wstring CaseName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name =
      std::string(info->test_suite_name()) + "." + info->name();
  std::wstring wide;
  for (char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                       (c >= '0' && c <= '9') || c == '_' || c == '.';
    wide.push_back(plain ? static_cast<wchar_t>(c) : L'.');
  }
  return wide;
}

std::filesystem::path SuiteTempFolder() {
  std::wstring temp(MAX_PATH + 1, L'\0');
  temp.resize(GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
  return std::filesystem::path(temp) / L"TolvuE2E";
}

}  // namespace

void TolvuCaseBase::PrepareCase() {
  const std::wstring name = CaseName();
  caseKey_ = std::wstring(kSuiteKey) + L"\\" + name;
  // Whatever an interrupted earlier run left behind goes first.
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    DeleteKeyTree(root, caseKey_);
  }
  const std::filesystem::path folder = SuiteTempFolder() / name;
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  ASSERT_FALSE(error) << "cannot create the working folder";
  workDir_ = folder.wstring();
}

void TolvuCaseBase::CleanUpCase() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    DeleteKeyTree(root, caseKey_);
    // The suite key goes once no case key is left below it.
    RegDeleteKeyW(root, std::wstring(kSuiteKey).c_str());
  }
  std::error_code ignored;
  std::filesystem::remove_all(workDir_, ignored);
  std::filesystem::remove(SuiteTempFolder(), ignored);
}

std::wstring TolvuCaseBase::WithCaseKey(const std::wstring& commandLine) const {
  std::wstring result = commandLine;
  const std::pair<std::wstring_view, std::wstring> kPlaceholders[] = {
      {L"{key}", CaseKeyArg()},
      {L"{subkey}", CaseKey()},
      {L"{work}", workDir_}};
  for (const auto& [placeholder, replacement] : kPlaceholders) {
    for (size_t at = result.find(placeholder); at != std::wstring::npos;
         at = result.find(placeholder, at + replacement.size())) {
      result.replace(at, placeholder.size(), replacement);
    }
  }
  return result;
}

RunResult TolvuCaseBase::RunTool(const std::wstring& commandLine) const {
  return RunTolvu(WithCaseKey(commandLine), workDir_);
}

}  // namespace tolvu_e2e
