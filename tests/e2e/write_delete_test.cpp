// Writing and deleting keys and values as a user does it, each run's result
// read back from the real registry. The case key stands in for the
// HKLM\Software\MyKey of the usage examples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "case_fixture.h"
#include "registry_probe.h"
#include "run_program.h"

namespace tolvu_e2e {
namespace {

using tolvu_e2e::operator<<;

enum class RootKey { CurrentUser, LocalMachine };

HKEY Handle(RootKey root) {
  return root == RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HKEY OtherHandle(RootKey root) {
  return root == RootKey::LocalMachine ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

RegValue DwordBytes(std::vector<std::uint8_t> bytes) {
  return RegValue{REG_DWORD, std::move(bytes)};
}

// A request the tool carries out silently, and the one value (or the key
// alone) it must leave below the case key.
struct Written {
  const char* name;
  const wchar_t* commandLine;
  RootKey root;
  const wchar_t* keyPath;    // below the case key
  const wchar_t* valueName;  // nullptr: the key alone, without values
  RegValue value;
};

class Write : public TolvuCaseWithParam<Written> {};

TEST_P(Write, LeavesExactlyTheValueSilently) {
  const Written& param = GetParam();
  HKEY root = Handle(param.root);

  const RunResult result = RunTool(param.commandLine);

  EXPECT_EQ(result.boxes, std::vector<Box>{});
  EXPECT_EQ(result.exitCode, 0U);
  EXPECT_FALSE(result.timedOut);
  // The key and every key on the way to it, and nothing beside them.
  const std::wstring path = param.keyPath;
  std::vector<std::wstring> expected;
  for (size_t end = path.find(L'\\');; end = path.find(L'\\', end + 1)) {
    expected.push_back(path.substr(0, end));
    if (end == std::wstring::npos) {
      break;
    }
  }
  if (param.valueName != nullptr) {
    expected.push_back(path + L":" + param.valueName);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(KeyTree(root, CaseKey()), expected);
  if (param.valueName != nullptr) {
    EXPECT_EQ(ReadValue(root, CaseKey() + L"\\" + path, param.valueName),
              param.value);
  }
  EXPECT_FALSE(KeyExists(OtherHandle(param.root), CaseKey()));
}

constexpr auto kHkcu = RootKey::CurrentUser;
constexpr auto kHklm = RootKey::LocalMachine;

INSTANTIATE_TEST_SUITE_P(
    UsageExamples, Write,
    ::testing::Values(
        Written{"CreateKey",
                L"add \"{key}\\My Key\"",
                kHkcu,
                L"My Key",
                nullptr,
                {}},
        Written{"StringValue", L"add \"{key}\\My Key\" MyDataName MyDataValue",
                kHkcu, L"My Key", L"MyDataName", Sz(L"MyDataValue")},
        Written{"DwordValue", L"add {key}\\MyKey MyDataName 123456 REG_DWORD",
                kHkcu, L"MyKey", L"MyDataName",
                DwordBytes({0x40, 0xE2, 0x01, 0x00})},
        Written{"HexBinaryValue",
                L"add {key}\\MyKey MyDataName 414243313233 REG_BINARY", kHkcu,
                L"MyKey", L"MyDataName",
                Binary({0x41, 0x42, 0x43, 0x31, 0x32, 0x33})},
        Written{"QuotedBinaryValue",
                L"add \"{key}\\My Key\" MyDataName \"ABC123\" REG_BINARY",
                kHkcu, L"My Key", L"MyDataName",
                Binary({0x41, 0x42, 0x43, 0x31, 0x32, 0x33})},
        Written{"DefaultValue", L"add {key}\\MyKey \"\" Text", kHkcu, L"MyKey",
                L"", Sz(L"Text")}),
    ParamName<Written>);

INSTANTIATE_TEST_SUITE_P(
    Keys, Write,
    ::testing::Values(
        Written{"CreateWord", L"create {key}\\Sub Name Value", kHkcu, L"Sub",
                L"Name", Sz(L"Value")},
        Written{"NestedKeysAtOnce",
                L"add {key}\\A\\B\\C",
                kHkcu,
                L"A\\B\\C",
                nullptr,
                {}},
        Written{"HkcuLongName", L"add HKEY_CURRENT_USER\\{subkey}\\Sub N 7",
                kHkcu, L"Sub", L"N", Sz(L"7")},
        Written{"Hklm", L"add HKLM\\{subkey}\\Sub N 123456 REG_DWORD", kHklm,
                L"Sub", L"N", Dword(123456)},
        Written{"HklmLowerCase", L"add hklm\\{subkey}\\Sub N 4142 REG_BINARY",
                kHklm, L"Sub", L"N", Binary({0x41, 0x42})},
        Written{"HklmLongName",
                L"add \"HKEY_LOCAL_MACHINE\\{subkey}\\My Key\" N \"a b\"",
                kHklm, L"My Key", L"N", Sz(L"a b")},
        Written{"KeyPathInCodePage",
                L"add \"{key}\\Clé €\"",
                kHkcu,
                L"Clé €",
                nullptr,
                {}}),
    ParamName<Written>);

INSTANTIATE_TEST_SUITE_P(
    Strings, Write,
    ::testing::Values(
        Written{"ExplicitType", L"add {key}\\Sub N Value REG_SZ", kHkcu, L"Sub",
                L"N", Sz(L"Value")},
        Written{"QuotedNameAndValue",
                L"add {key}\\Sub \"MyDataName\" \"MyDataValue\"", kHkcu, L"Sub",
                L"MyDataName", Sz(L"MyDataValue")},
        Written{"QuotedNameWithBlank", L"add {key}\\Sub \"My Name\" V", kHkcu,
                L"Sub", L"My Name", Sz(L"V")},
        Written{"BlanksAndTabInQuotes", L"add {key}\\Sub N \"two  words\tx\"",
                kHkcu, L"Sub", L"N", Sz(L"two  words\tx")},
        Written{"InnerQuoteKept", L"add {key}\\Sub N \"a\"b\"", kHkcu, L"Sub",
                L"N", Sz(L"a\"b")},
        Written{"NoData", L"add {key}\\Sub N", kHkcu, L"Sub", L"N", Sz(L"")},
        Written{"TwoQuotesAsData", L"add {key}\\Sub N \"\"", kHkcu, L"Sub",
                L"N", Sz(L"")},
        // An unclosed quote keeps the rest of the line in the argument, so a
        // lone quote can only be the last argument, REG_SZ data: empty text.
        Written{"LoneQuoteAsData", L"add {key}\\Sub N \"", kHkcu, L"Sub", L"N",
                Sz(L"")},
        Written{"CodePageCharacters", L"add {key}\\Sub Café€ \"é €\"", kHkcu,
                L"Sub", L"Café€", Sz(L"é €")},
        // Outside code page 1252: through the ANSI calls in UTF-8.
        Written{"CyrillicKeyNameAndText",
                L"add \"{key}\\Ключ Ж\" Имя \"Текст Ж\"", kHkcu, L"Ключ Ж",
                L"Имя", Sz(L"Текст Ж")},
        Written{"CjkKeyNameAndText", L"add {key}\\日本 名前 テキスト", kHkcu,
                L"日本", L"名前", Sz(L"テキスト")},
        Written{"EmojiKeyNameAndText",
                L"add {key}\\Key\U0001F600 N\U0001F600 \U0001F600", kHkcu,
                L"Key\U0001F600", L"N\U0001F600", Sz(L"\U0001F600")}),
    ParamName<Written>);

INSTANTIATE_TEST_SUITE_P(
    Binary, Write,
    ::testing::Values(
        Written{"LowerCaseDigits", L"add {key}\\Sub N abcdef REG_BINARY", kHkcu,
                L"Sub", L"N", Binary({0xAB, 0xCD, 0xEF})},
        Written{"MixedCaseDigits", L"add {key}\\Sub N aBcD REG_BINARY", kHkcu,
                L"Sub", L"N", Binary({0xAB, 0xCD})},
        Written{"TypeNameLowerCase", L"add {key}\\Sub N 00ff reg_binary", kHkcu,
                L"Sub", L"N", Binary({0x00, 0xFF})},
        // An odd count ends with the last digit as the high half of a byte,
        // whatever the count.
        Written{"OneDigit", L"add {key}\\Sub N 7 REG_BINARY", kHkcu, L"Sub",
                L"N", Binary({0x70})},
        Written{"ThreeDigits", L"add {key}\\Sub N ABC REG_BINARY", kHkcu,
                L"Sub", L"N", Binary({0xAB, 0xC0})},
        Written{"FiveDigits", L"add {key}\\Sub N 12345 REG_BINARY", kHkcu,
                L"Sub", L"N", Binary({0x12, 0x34, 0x50})},
        Written{"SevenDigits", L"add {key}\\Sub N 1234567 REG_BINARY", kHkcu,
                L"Sub", L"N", Binary({0x12, 0x34, 0x56, 0x70})},
        Written{"NonDigitsCountAsZero", L"add {key}\\Sub N 4GG1Ж5 REG_BINARY",
                kHkcu, L"Sub", L"N", Binary({0x40, 0x01, 0x05})},
        Written{"TwoQuotesIsEmpty", L"add {key}\\Sub N \"\" REG_BINARY", kHkcu,
                L"Sub", L"N", Binary({})},
        Written{"QuotedCutByPosition", L"add {key}\\Sub N \"AB\"C REG_BINARY",
                kHkcu, L"Sub", L"N", Binary({0x41, 0x42, 0x22})},
        Written{"QuotedWithBlank", L"add {key}\\Sub N \"A B\" REG_BINARY",
                kHkcu, L"Sub", L"N", Binary({0x41, 0x20, 0x42})},
        Written{"QuotedCodePageCharacters",
                L"add {key}\\Sub N \"é€\" REG_BINARY", kHkcu, L"Sub", L"N",
                Binary({0xE9, 0x80})},
        // In the system's code page, 1252 here, not the tool's UTF-8.
        Written{"QuotedTextInSystemCodePage",
                L"add {key}\\Sub N \"café\" REG_BINARY", kHkcu, L"Sub", L"N",
                Binary({0x63, 0x61, 0x66, 0xE9})}),
    ParamName<Written>);

INSTANTIATE_TEST_SUITE_P(
    Dwords, Write,
    ::testing::Values(
        Written{"MinusOne", L"add {key}\\Sub N -1 REG_DWORD", kHkcu, L"Sub",
                L"N", DwordBytes({0xFF, 0xFF, 0xFF, 0xFF})},
        Written{"HalfRoundsDownToEven", L"add {key}\\Sub N 12.5 REG_DWORD",
                kHkcu, L"Sub", L"N", DwordBytes({0x0C, 0x00, 0x00, 0x00})},
        Written{"HalfRoundsUpToEven", L"add {key}\\Sub N 13.5 REG_DWORD", kHkcu,
                L"Sub", L"N", DwordBytes({0x0E, 0x00, 0x00, 0x00})},
        Written{"TrailingTextIgnored", L"add {key}\\Sub N 42abc REG_DWORD",
                kHkcu, L"Sub", L"N", Dword(42)},
        Written{"TrailingTextOutsideCodePageIgnored",
                L"add {key}\\Sub N 42Ж REG_DWORD", kHkcu, L"Sub", L"N",
                Dword(42)},
        Written{"QuotedNumber", L"add {key}\\Sub N \"42\" REG_DWORD", kHkcu,
                L"Sub", L"N", Dword(42)},
        Written{"NotANumberIsZero", L"add {key}\\Sub N abc REG_DWORD", kHkcu,
                L"Sub", L"N", Dword(0)},
        Written{"Largest", L"add {key}\\Sub N 2147483647 REG_DWORD", kHkcu,
                L"Sub", L"N", DwordBytes({0xFF, 0xFF, 0xFF, 0x7F})},
        Written{"Smallest", L"add {key}\\Sub N -2147483648 REG_DWORD", kHkcu,
                L"Sub", L"N", DwordBytes({0x00, 0x00, 0x00, 0x80})}),
    ParamName<Written>);

// Flags as administrators type them: the bits of the hexadecimal digits.
INSTANTIATE_TEST_SUITE_P(
    HexDwords, Write,
    ::testing::Values(
        Written{"Hex", L"add {key}\\Sub N 0x10 REG_DWORD", kHkcu, L"Sub", L"N",
                Dword(16)},
        Written{"UpperCaseXMixedDigits", L"add {key}\\Sub N 0X1f REG_DWORD",
                kHkcu, L"Sub", L"N", Dword(31)},
        Written{"HighBit", L"add {key}\\Sub N 0x80000000 REG_DWORD", kHkcu,
                L"Sub", L"N", DwordBytes({0x00, 0x00, 0x00, 0x80})},
        Written{"AllBits", L"add {key}\\Sub N 0xFFFFFFFF REG_DWORD", kHkcu,
                L"Sub", L"N", DwordBytes({0xFF, 0xFF, 0xFF, 0xFF})},
        Written{"LeadingZeros", L"add {key}\\Sub N 0x00000000000000A REG_DWORD",
                kHkcu, L"Sub", L"N", Dword(10)},
        Written{"NoDigitIsZero", L"add {key}\\Sub N 0x REG_DWORD", kHkcu,
                L"Sub", L"N", Dword(0)},
        Written{"MinusNegates", L"add {key}\\Sub N -0x10 REG_DWORD", kHkcu,
                L"Sub", L"N", DwordBytes({0xF0, 0xFF, 0xFF, 0xFF})}),
    ParamName<Written>);

// A request the tool refuses at run time: one description box titled Tolvu
// without an icon, its status, and what it left below the case key (the key
// is created before the value is looked at; a key path that cannot be passed
// on creates nothing).
struct Refusal {
  const char* name;
  const wchar_t* commandLine;
  DWORD exitCode;
  const wchar_t* exactText;  // nullptr: only `mentions` are checked
  std::vector<const wchar_t*> mentions;
  std::vector<std::wstring> tree;  // KeyTree of the case key afterwards
};

class WriteRefused : public TolvuCaseWithParam<Refusal> {};

TEST_P(WriteRefused, ShowsOneDescriptionAndWritesNoValue) {
  const Refusal& param = GetParam();

  const RunResult result = RunTool(param.commandLine);

  ASSERT_EQ(result.boxes.size(), 1U) << ::testing::PrintToString(result);
  const Box& box = result.boxes[0];
  EXPECT_EQ(box.title, L"Tolvu");
  EXPECT_EQ(box.icon, BoxIcon::None);
  if (param.exactText != nullptr) {
    EXPECT_EQ(box.text, param.exactText);
  }
  for (const wchar_t* mention : param.mentions) {
    EXPECT_NE(box.text.find(mention), std::wstring::npos)
        << ::testing::PrintToString(box) << "\nshould mention "
        << ::testing::PrintToString(std::wstring(mention));
  }
  EXPECT_EQ(result.exitCode, param.exitCode);
  // Nothing stands in for the character: no key or value of any name.
  EXPECT_EQ(KeyTree(HKEY_CURRENT_USER, CaseKey()), param.tree);
}

INSTANTIATE_TEST_SUITE_P(
    Write, WriteRefused,
    ::testing::Values(
        Refusal{"NumberTooLarge",
                L"add {key}\\Sub N 2147483648 REG_DWORD",
                ERROR_ARITHMETIC_OVERFLOW,
                L"The number \"2147483648\" is too large for a REG_DWORD "
                L"value, which holds whole numbers from -2147483648 to "
                L"2147483647, or 0x0 to 0xFFFFFFFF in hexadecimal.",
                {},
                {L"Sub"}},
        Refusal{"NumberTooSmall",
                L"add {key}\\Sub N -2147483649 REG_DWORD",
                ERROR_ARITHMETIC_OVERFLOW,
                nullptr,
                {L"-2147483649"},
                {L"Sub"}},
        // Rounded half to even, this one is 2^31.
        Refusal{"NumberRoundsOutOfRange",
                L"add {key}\\Sub N 2147483647.5 REG_DWORD",
                ERROR_ARITHMETIC_OVERFLOW,
                nullptr,
                {L"2147483647.5"},
                {L"Sub"}},
        Refusal{"HexNumberWiderThan32Bits",
                L"add {key}\\Sub N 0x100000000 REG_DWORD",
                ERROR_ARITHMETIC_OVERFLOW,
                nullptr,
                {L"\"0x100000000\"", L"too large"},
                {L"Sub"}},
        // Half of a surrogate pair is no character in any code page.
        Refusal{"KeyPathLoneSurrogate",
                L"add {key}\\Sub\xD800",
                ERROR_NO_UNICODE_TRANSLATION,
                nullptr,
                {L"U+D800", L"key path"},
                {}},
        Refusal{"StringDataLoneSurrogate",
                L"add {key}\\Sub N A\xD800",
                ERROR_NO_UNICODE_TRANSLATION,
                nullptr,
                {L"U+D800", L"string data"},
                {L"Sub"}},
        // U+0416 (Cyrillic Zhe) has no code in the system code page 1252.
        Refusal{"QuotedBinaryOutsideCodePage",
                L"add {key}\\Sub N \"AЖ\" REG_BINARY",
                ERROR_NO_UNICODE_TRANSLATION,
                nullptr,
                {L"U+0416"},
                {L"Sub"}}),
    ParamName<Refusal>);

using WriteOver = TolvuCase;

TEST_F(WriteOver, AnExistingValueIsReplacedWithTheNewType) {
  ASSERT_TRUE(
      WriteValue(HKEY_CURRENT_USER, CaseKey() + L"\\Sub", L"N", Dword(7)));
  ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, CaseKey() + L"\\Sub", L"Other",
                         Sz(L"stays")));

  const RunResult result = RunTool(L"add {key}\\Sub N 0A0B REG_BINARY");

  EXPECT_EQ(result.boxes, std::vector<Box>{});
  EXPECT_EQ(result.exitCode, 0U);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, CaseKey() + L"\\Sub", L"N"),
            Binary({0x0A, 0x0B}));
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, CaseKey() + L"\\Sub", L"Other"),
            Sz(L"stays"));
}

// Deleting: every case starts from the same keys and values below the case
// key, and names what must be gone afterwards; everything else must stay.
struct Deletion {
  const char* name;
  const wchar_t* commandLine;
  RootKey root;
  DWORD exitCode;
  // KeyTree entries that go: a key goes with everything below it.
  std::vector<std::wstring> gone;
  const wchar_t* boxMentions;  // nullptr: no box at all
};

class Remove : public TolvuCaseWithParam<Deletion> {
 protected:
  static bool Goes(const std::wstring& entry,
                   const std::vector<std::wstring>& gone) {
    return std::any_of(gone.begin(), gone.end(), [&](const auto& what) {
      return entry == what || entry.rfind(what + L"\\", 0) == 0 ||
             (what.find(L':') == std::wstring::npos &&
              entry.rfind(what + L":", 0) == 0);
    });
  }

  void PlantKeys(HKEY root) {
    const std::wstring key = CaseKey();
    const struct {
      const wchar_t* path;
      const wchar_t* name;
    } kValues[] = {{L"Sub", L""},
                   {L"Sub", L"Name"},
                   {L"Sub", L"Other"},
                   {L"Sub", L"Café"},
                   {L"Sub", L"Имя"},
                   {L"My Key", L"Name"},
                   {L"My Key", L"Other"},
                   {L"Sibling", L"Name"},
                   {L"Parent", L"Name"},
                   {L"Parent\\Child", L"Name"},
                   // What a character outside the code page would become if
                   // it were replaced instead of refused.
                   {L"Sub?", L"Name"},
                   {L"Sub", L"Name?"}};
    for (const auto& value : kValues) {
      ASSERT_TRUE(WriteValue(root, key + L"\\" + value.path, value.name,
                             Sz(std::wstring(value.path) + L":" + value.name)));
    }
  }
};

TEST_P(Remove, TakesAwayExactlyWhatItNames) {
  const Deletion& param = GetParam();
  HKEY root = Handle(param.root);
  PlantKeys(root);
  const std::vector<std::wstring> before = KeyTree(root, CaseKey());

  const RunResult result = RunTool(param.commandLine);

  if (param.boxMentions == nullptr) {
    EXPECT_EQ(result.boxes, std::vector<Box>{});
  } else {
    ASSERT_EQ(result.boxes.size(), 1U) << ::testing::PrintToString(result);
    EXPECT_EQ(result.boxes[0].title, L"Tolvu");
    EXPECT_EQ(result.boxes[0].icon, BoxIcon::None);
    EXPECT_NE(result.boxes[0].text.find(param.boxMentions), std::wstring::npos)
        << ::testing::PrintToString(result.boxes[0]);
  }
  EXPECT_EQ(result.exitCode, param.exitCode);
  std::vector<std::wstring> expected;
  std::copy_if(before.begin(), before.end(), std::back_inserter(expected),
               [&](const auto& entry) { return !Goes(entry, param.gone); });
  EXPECT_EQ(KeyTree(root, CaseKey()), expected);
  // A value that is not deleted keeps its data.
  if (!Goes(L"Sub:Other", param.gone)) {
    EXPECT_EQ(ReadValue(root, CaseKey() + L"\\Sub", L"Other"),
              Sz(L"Sub:Other"));
  }
  EXPECT_FALSE(KeyExists(OtherHandle(param.root), CaseKey()));
}

INSTANTIATE_TEST_SUITE_P(
    UsageExamples, Remove,
    ::testing::Values(
        Deletion{"Key", L"remove {key}\\Sub", kHkcu, 0, {L"Sub"}, nullptr},
        Deletion{"Value",
                 L"remove {key}\\Sub Name",
                 kHkcu,
                 0,
                 {L"Sub:Name"},
                 nullptr}),
    ParamName<Deletion>);

INSTANTIATE_TEST_SUITE_P(
    Forms, Remove,
    ::testing::Values(
        Deletion{
            "DeleteWordKey", L"delete {key}\\Sub", kHkcu, 0, {L"Sub"}, nullptr},
        Deletion{"DeleteWordValue",
                 L"delete {key}\\Sub Name",
                 kHkcu,
                 0,
                 {L"Sub:Name"},
                 nullptr},
        Deletion{"UpperCaseWord",
                 L"REMOVE {key}\\Sub Other",
                 kHkcu,
                 0,
                 {L"Sub:Other"},
                 nullptr},
        Deletion{"QuotedValueName",
                 L"remove {key}\\Sub \"Name\"",
                 kHkcu,
                 0,
                 {L"Sub:Name"},
                 nullptr},
        Deletion{"QuotedKeyPathWithBlank",
                 L"remove \"{key}\\My Key\"",
                 kHkcu,
                 0,
                 {L"My Key"},
                 nullptr},
        Deletion{"ValueOfKeyPathWithBlank",
                 L"remove \"{key}\\My Key\" Name",
                 kHkcu,
                 0,
                 {L"My Key:Name"},
                 nullptr},
        // Two quotes name the default value, as when adding.
        Deletion{"TwoQuotesAsNameDeletesTheDefaultValue",
                 L"remove {key}\\Sub \"\"",
                 kHkcu,
                 0,
                 {L"Sub:"},
                 nullptr},
        // The sub key is unquoted once more for a delete.
        Deletion{"SubKeyInTwoPairsOfQuotes",
                 L"remove HKCU\\\"\"{subkey}\\Sub\"\"",
                 kHkcu,
                 0,
                 {L"Sub"},
                 nullptr},
        Deletion{"ValueNameInCodePage",
                 L"remove {key}\\Sub Café",
                 kHkcu,
                 0,
                 {L"Sub:Café"},
                 nullptr},
        Deletion{"ValueNameInAnyLanguage",
                 L"remove {key}\\Sub Имя",
                 kHkcu,
                 0,
                 {L"Sub:Имя"},
                 nullptr},
        Deletion{"ValueOfKeyWithSubkeys",
                 L"remove {key}\\Parent Name",
                 kHkcu,
                 0,
                 {L"Parent:Name"},
                 nullptr},
        Deletion{"HkcuLongName",
                 L"remove HKEY_CURRENT_USER\\{subkey}\\Sibling",
                 kHkcu,
                 0,
                 {L"Sibling"},
                 nullptr},
        Deletion{"HklmKey",
                 L"remove HKLM\\{subkey}\\Sub",
                 kHklm,
                 0,
                 {L"Sub"},
                 nullptr},
        Deletion{"HklmValue",
                 L"delete HKEY_LOCAL_MACHINE\\{subkey}\\Sub Name",
                 kHklm,
                 0,
                 {L"Sub:Name"},
                 nullptr}),
    ParamName<Deletion>);

// Failed registry calls end silently with their status; nothing is deleted.
INSTANTIATE_TEST_SUITE_P(
    Failing, Remove,
    ::testing::Values(Deletion{"MissingKey",
                               L"remove {key}\\Missing",
                               kHkcu,
                               ERROR_FILE_NOT_FOUND,
                               {},
                               nullptr},
                      Deletion{"ValueOfMissingKey",
                               L"remove {key}\\Missing Name",
                               kHkcu,
                               ERROR_FILE_NOT_FOUND,
                               {},
                               nullptr},
                      Deletion{"MissingValue",
                               L"remove {key}\\Sub Missing",
                               kHkcu,
                               ERROR_FILE_NOT_FOUND,
                               {},
                               nullptr},
                      // The registry refuses to delete a key that has
                      // subkeys, as access denied; the tool says why.
                      Deletion{"KeyWithSubkeys",
                               L"remove {key}\\Parent",
                               kHkcu,
                               ERROR_KEY_HAS_CHILDREN,
                               {},
                               nullptr},
                      Deletion{"NoRootKey",
                               L"remove Sub Name",
                               kHkcu,
                               ERROR_INVALID_HANDLE,
                               {},
                               nullptr},
                      Deletion{"KeyPathLoneSurrogate",
                               L"remove {key}\\Sub\xD800",
                               kHkcu,
                               ERROR_NO_UNICODE_TRANSLATION,
                               {},
                               L"U+D800"}),
    ParamName<Deletion>);

}  // namespace
}  // namespace tolvu_e2e
