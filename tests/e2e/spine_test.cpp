// The tool's front end as a user meets it: how a command line is read, which
// requests get the usage box, and the exit status of each kind of outcome.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "case_fixture.h"
#include "registry_probe.h"
#include "run_program.h"
#include "usage_text.h"

namespace tolvu_e2e {
namespace {

using tolvu_e2e::operator<<;

struct NamedLine {
  const char* name;
  const wchar_t* commandLine;
};

// Requests the tool must refuse with the usage box and nothing else. The
// case key holds one value beforehand, and must hold exactly that afterwards:
// an add would show as a new subkey or value, a remove as a missing one.
class Refused : public TolvuCaseWithParam<NamedLine> {};

TEST_P(Refused, ShowsOnlyTheUsageBoxAndChangesNothing) {
  const RegValue marker = Sz(L"before");
  ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, CaseKey(), L"Marker", marker));

  const RunResult result = RunTool(GetParam().commandLine);

  EXPECT_EQ(result.boxes, std::vector<Box>{UsageBox()});
  EXPECT_EQ(result.exitCode, DWORD{ERROR_INVALID_COMMAND_LINE});
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(SubKeyNames(HKEY_CURRENT_USER, CaseKey()),
            std::vector<std::wstring>{});
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, CaseKey()),
            std::vector<std::wstring>{L"Marker"});
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, CaseKey(), L"Marker"), marker);
}

INSTANTIATE_TEST_SUITE_P(
    Spine, Refused,
    ::testing::Values(
        NamedLine{"NoArguments", L""},
        NamedLine{"OnlyBlanksAndTabs", L"  \t  "},
        NamedLine{"UnknownCommand", L"append {key}\\Sub"},
        NamedLine{"QuotedCommandWord", L"\"add\" {key}\\Sub"},
        NamedLine{"QuotedCommandWordForRemove", L"\"remove\" {key} Marker"},
        NamedLine{"UnknownTypeName", L"add {key}\\Sub Name Value REG_MULTI_SZ"},
        NamedLine{"QuotedTypeName", L"add {key}\\Sub Name Value \"REG_SZ\""},
        NamedLine{"UnknownTypeNameForRemove",
                  L"remove {key} Marker Value REG_EXPAND_SZ"},
        NamedLine{"UnknownTypeNameForImport",
                  L"import settings.reg Name Value REG_QWORD"},
        NamedLine{"KeyPathStartingWithBackslash", L"add \\{key}\\Sub"},
        NamedLine{"UnknownRootKey", L"add HKXX\\{subkey}\\Sub"}),
    ParamName<NamedLine>);

// Requests the tool must carry out silently, and where the result shows.
struct Accepted {
  const char* name;
  const wchar_t* commandLine;
  // Expected subkeys of the case key afterwards, and the value expected in
  // its subkey "Sub" when `valueName` is set.
  std::vector<std::wstring> subKeys;
  const wchar_t* valueName;
  RegValue value;
};

class Carried : public TolvuCaseWithParam<Accepted> {};

TEST_P(Carried, OutSilentlyWithExitStatusZero) {
  const Accepted& param = GetParam();

  const RunResult result = RunTool(param.commandLine);

  EXPECT_EQ(result.boxes, std::vector<Box>{});
  EXPECT_EQ(result.exitCode, 0U);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(SubKeyNames(HKEY_CURRENT_USER, CaseKey()), param.subKeys);
  if (param.valueName != nullptr) {
    const std::wstring sub = CaseKey() + L"\\Sub";
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, sub),
              std::vector<std::wstring>{param.valueName});
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, sub, param.valueName), param.value);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Spine, Carried,
    ::testing::Values(
        Accepted{
            "CommandWordUpperCase", L"ADD {key}\\Sub", {L"Sub"}, nullptr, {}},
        Accepted{
            "CommandWordMixedCase", L"Add {key}\\Sub", {L"Sub"}, nullptr, {}},
        Accepted{
            "CreateUpperCase", L"CREATE {key}\\Sub", {L"Sub"}, nullptr, {}},
        Accepted{"RootKeyLowerCase",
                 L"add hkcu\\{subkey}\\Sub",
                 {L"Sub"},
                 nullptr,
                 {}},
        Accepted{"RootKeyLongName",
                 L"add HKEY_CURRENT_USER\\{subkey}\\Sub",
                 {L"Sub"},
                 nullptr,
                 {}},
        Accepted{"QuotedRootName",
                 L"add \"HKCU\"\\{subkey}\\Sub",
                 {L"Sub"},
                 nullptr,
                 {}},
        Accepted{"QuotedKeyPathWithBlank",
                 L"add \"{key}\\My Key\"",
                 {L"My Key"},
                 nullptr,
                 {}},
        Accepted{"BlanksAndTabsBetweenArguments",
                 L" \t add \t {key}\\Sub\t\tName \t Value\t",
                 {L"Sub"},
                 L"Name",
                 Sz(L"Value")},
        Accepted{"TypeNameLowerCase",
                 L"add {key}\\Sub Name 123456 reg_dword",
                 {L"Sub"},
                 L"Name",
                 Dword(123456)},
        Accepted{"ElevenArgumentsUseTheFirstFive",
                 L"add {key}\\Sub Name Value REG_SZ 6 7 8 9 10 11",
                 {L"Sub"},
                 L"Name",
                 Sz(L"Value")},
        // Only the first five arguments count, so past them even an
        // unclosed quote changes nothing.
        Accepted{"AnUnclosedQuoteAfterTheFifthIsIgnored",
                 L"add {key}\\Sub Name 414243 REG_BINARY six \"seven eight",
                 {L"Sub"},
                 L"Name",
                 Binary({0x41, 0x42, 0x43})}),
    ParamName<Accepted>);

// Outcomes other than success and the usage box, and their exit statuses.
using Spine = TolvuCase;

TEST_F(Spine, AFailedRegistryCallEndsSilentlyWithItsStatus) {
  // Without a backslash the key argument names no root key, so creating the
  // key is refused by the registry with an invalid handle.
  const RunResult result = RunTool(L"add");
  EXPECT_EQ(result.boxes, std::vector<Box>{});
  EXPECT_EQ(result.exitCode, DWORD{ERROR_INVALID_HANDLE});
}

TEST_F(Spine, RemovingAMissingKeyEndsSilentlyWithTheOpenStatus) {
  const RunResult result = RunTool(L"remove {key}\\Missing");
  EXPECT_EQ(result.boxes, std::vector<Box>{});
  EXPECT_EQ(result.exitCode, DWORD{ERROR_FILE_NOT_FOUND});
}

// A run-time failure inside an operation: its description (wording is the
// tool's own) in a box titled Tolvu without an icon, no usage box, and the
// failure's status. The key is created before the value is looked at, and
// the value is not written.
struct Failing {
  const char* name;
  const wchar_t* commandLine;
  DWORD exitCode;
};

class FailingOperation : public TolvuCaseWithParam<Failing> {};

TEST_P(FailingOperation, ShowsItsDescriptionAndEndsWithItsStatus) {
  const RunResult result = RunTool(GetParam().commandLine);

  ASSERT_EQ(result.boxes.size(), 1U) << ::testing::PrintToString(result);
  EXPECT_EQ(result.boxes[0].title, L"Tolvu");
  EXPECT_EQ(result.boxes[0].icon, BoxIcon::None);
  EXPECT_FALSE(result.boxes[0].text.empty());
  EXPECT_EQ(result.exitCode, GetParam().exitCode);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, CaseKey() + L"\\Sub"));
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, CaseKey() + L"\\Sub"),
            std::vector<std::wstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    Spine, FailingOperation,
    ::testing::Values(
        // 2^31 does not fit a 32-bit signed number.
        Failing{"NumberOutOfRange", L"add {key}\\Sub Name 2147483648 REG_DWORD",
                ERROR_ARITHMETIC_OVERFLOW},
        // Half of a surrogate pair has no code in any code page.
        Failing{"ValueNameLoneSurrogate", L"add {key}\\Sub \xD800 Text",
                ERROR_NO_UNICODE_TRANSLATION}),
    ParamName<Failing>);

TEST_F(Spine, AFailureOutsideAnOperationShowsItsDescriptionThenTheUsage) {
  // Half of a surrogate pair has no code in any code page, so the import
  // cannot pass the file name on, and it has no failure path of its own.
  const RunResult result = RunTool(L"import \xD800.reg");
  ASSERT_EQ(result.boxes.size(), 2U) << ::testing::PrintToString(result);
  EXPECT_EQ(result.boxes[0].title, L"Tolvu");
  EXPECT_EQ(result.boxes[0].icon, BoxIcon::None);
  EXPECT_FALSE(result.boxes[0].text.empty());
  EXPECT_EQ(result.boxes[1], UsageBox());
  EXPECT_EQ(result.exitCode, DWORD{ERROR_INVALID_COMMAND_LINE});
}

}  // namespace
}  // namespace tolvu_e2e
