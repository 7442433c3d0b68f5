#include "registry/write_key_value.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "call_text.h"
#include "cli/data_types.h"
#include "host/status_codes.h"
#include "support/recording_host.h"
#include "support/row_name.h"
#include "test_support.h"

namespace tolvu {
namespace {

// GoogleTest prints the rows with it, which clang-tidy does not see.
using tolvu_test::operator<<;  // NOLINT(misc-unused-using-decls)

using Bytes = std::vector<std::uint8_t>;
using namespace std::string_literals;

struct EncodingCase {
  const char* name;
  std::u16string dataName;   // as typed
  std::u16string dataValue;  // as typed
  std::uint32_t dataType;
  std::string storedName;
  std::uint32_t storedType;
  Bytes bytes;
};

class EncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, WritesExactBytesSilently) {
  const EncodingCase& c = GetParam();
  RecordingHost host;
  EXPECT_EQ(WriteKeyValue(host, {kTestHklm, u"Software\\MyKey"},
                          {c.dataName, c.dataValue, c.dataType}),
            kSuccess);
  EXPECT_TRUE(host.boxes.empty());
  const TestValue* value =
      host.FindValue({kTestHklm, "Software\\MyKey", c.storedName});
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->name, c.storedName);
  EXPECT_EQ(value->type, c.storedType);
  EXPECT_EQ(value->data, c.bytes);
  EXPECT_TRUE(host.openKeys.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodingTest,
    testing::Values(
        EncodingCase{"Sz", u"MyDataName", u"MyDataValue", kRegSz, "MyDataName",
                     kRegSz, ByteVector("MyDataValue\0"s)},
        EncodingCase{"SzQuoted", u"\"MyDataName\"", u"\"MyDataValue\"", kRegSz,
                     "MyDataName", kRegSz, ByteVector("MyDataValue\0"s)},
        EncodingCase{"SzEmpty", u"N", u"", kRegSz, "N", kRegSz, Bytes{0}},
        EncodingCase{"SzTwoQuotes", u"N", u"\"\"", kRegSz, "N", kRegSz,
                     Bytes{0}},
        // In UTF-8, the process's code page: any language.
        EncodingCase{"SzAnsi", u"Caf\u00e9", u"\u20ac 5", kRegSz, "Caf\xc3\xa9",
                     kRegSz, Bytes{0xE2, 0x82, 0xAC, ' ', '5', 0}},
        EncodingCase{"SzAnyLanguage", u"\u0416", u"\u65e5\U0001F600", kRegSz,
                     "\xd0\x96", kRegSz,
                     Bytes{0xE6, 0x97, 0xA5, 0xF0, 0x9F, 0x98, 0x80, 0}},
        // Two quotes inside the outer ones stand for one.
        EncodingCase{"SzQuotedProgramPath", u"N",
                     u"\"\"\"C:\\P F\\a.exe\"\" /bg\"", kRegSz, "N", kRegSz,
                     ByteVector("\"C:\\P F\\a.exe\" /bg\0"s)},
        EncodingCase{"SzQuotedPathAlone", u"N", u"\"\"\"C:\\s.exe\"\"\"",
                     kRegSz, "N", kRegSz, ByteVector("\"C:\\s.exe\"\0"s)},
        EncodingCase{"SzQuotedWord", u"N", u"\"say \"\"hi\"\"\"", kRegSz, "N",
                     kRegSz, ByteVector("say \"hi\"\0"s)},
        EncodingCase{"SzLoneQuoteStays", u"N", u"a\"b", kRegSz, "N", kRegSz,
                     ByteVector("a\"b\0"s)},
        EncodingCase{"SzTypeZeroIsSz", u"N", u"x", 0, "N", kRegSz,
                     Bytes{'x', 0}},
        EncodingCase{"DefaultValueByTwoQuotes", u"\"\"", u"v", kRegSz, "",
                     kRegSz, Bytes{'v', 0}},
        EncodingCase{"BinaryHex", u"N", u"414243313233", kRegBinary, "N",
                     kRegBinary, Bytes{0x41, 0x42, 0x43, 0x31, 0x32, 0x33}},
        EncodingCase{"BinaryQuoted", u"N", u"\"ABC123\"", kRegBinary, "N",
                     kRegBinary, Bytes{0x41, 0x42, 0x43, 0x31, 0x32, 0x33}},
        EncodingCase{"BinaryQuotedCutsByPosition", u"N", u"\"AB\"C", kRegBinary,
                     "N", kRegBinary, Bytes{0x41, 0x42, 0x22}},
        EncodingCase{"BinaryLowerCaseDigits", u"N", u"abcdef", kRegBinary, "N",
                     kRegBinary, Bytes{0xAB, 0xCD, 0xEF}},
        EncodingCase{"BinaryEveryDigit", u"N", u"0123456789ABCDEFabcdef",
                     kRegBinary, "N", kRegBinary,
                     Bytes{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0xAB,
                           0xCD, 0xEF}},
        // A full-width A is no digit either.
        EncodingCase{"BinaryNonDigitIsZero", u"N", u"4G\uff211", kRegBinary,
                     "N", kRegBinary, Bytes{0x40, 0x01}},
        EncodingCase{"BinarySignsAndDotsAreZero", u"N", u"-1.9", kRegBinary,
                     "N", kRegBinary, Bytes{0x01, 0x09}},
        EncodingCase{"BinaryEmpty", u"N", u"", kRegBinary, "N", kRegBinary,
                     Bytes{}},
        EncodingCase{"BinaryTwoQuotesIsEmpty", u"N", u"\"\"", kRegBinary, "N",
                     kRegBinary, Bytes{}},
        EncodingCase{"BinaryOddLastDigitIsHighHalf", u"N", u"ABC", kRegBinary,
                     "N", kRegBinary, Bytes{0xAB, 0xC0}},
        EncodingCase{"BinaryOneDigit", u"N", u"7", kRegBinary, "N", kRegBinary,
                     Bytes{0x70}},
        EncodingCase{"BinaryFiveDigits", u"N", u"12345", kRegBinary, "N",
                     kRegBinary, Bytes{0x12, 0x34, 0x50}},
        // One byte each in the system's code page, not the process's UTF-8.
        EncodingCase{"BinaryQuotedInSystemCodePage", u"N", u"\"caf\u00e9\"",
                     kRegBinary, "N", kRegBinary,
                     Bytes{0x63, 0x61, 0x66, 0xE9}},
        EncodingCase{"Dword", u"MyDataName", u"123456", kRegDword, "MyDataName",
                     kRegDword, Bytes{0x40, 0xE2, 0x01, 0x00}},
        EncodingCase{"DwordMinusOne", u"N", u"-1", kRegDword, "N", kRegDword,
                     Bytes{0xFF, 0xFF, 0xFF, 0xFF}},
        EncodingCase{"DwordHalfToEvenDown", u"N", u"12.5", kRegDword, "N",
                     kRegDword, Bytes{12, 0, 0, 0}},
        EncodingCase{"DwordHalfToEvenUp", u"N", u"13.5", kRegDword, "N",
                     kRegDword, Bytes{14, 0, 0, 0}},
        EncodingCase{"DwordTrailingText", u"N", u"42abc", kRegDword, "N",
                     kRegDword, Bytes{42, 0, 0, 0}},
        EncodingCase{"DwordQuoted", u"N", u"\"42\"", kRegDword, "N", kRegDword,
                     Bytes{42, 0, 0, 0}},
        EncodingCase{"DwordQuotedHex", u"N", u"\"0x10\"", kRegDword, "N",
                     kRegDword, Bytes{16, 0, 0, 0}},
        EncodingCase{"DwordTwoQuotes", u"N", u"\"\"", kRegDword, "N", kRegDword,
                     Bytes{0, 0, 0, 0}},
        EncodingCase{"DwordLargest", u"N", u"2147483647", kRegDword, "N",
                     kRegDword, Bytes{0xFF, 0xFF, 0xFF, 0x7F}},
        EncodingCase{"DwordSmallest", u"N", u"-2147483648", kRegDword, "N",
                     kRegDword, Bytes{0x00, 0x00, 0x00, 0x80}},
        EncodingCase{"DwordLeadingZerosStayDecimal", u"N", u"0010", kRegDword,
                     "N", kRegDword, Bytes{10, 0, 0, 0}},
        EncodingCase{"DwordHex", u"N", u"0x10", kRegDword, "N", kRegDword,
                     Bytes{16, 0, 0, 0}},
        EncodingCase{"DwordHexLowerCase", u"N", u"0xa", kRegDword, "N",
                     kRegDword, Bytes{10, 0, 0, 0}},
        EncodingCase{"DwordHexUpperXMixedDigits", u"N", u"0X1f", kRegDword, "N",
                     kRegDword, Bytes{31, 0, 0, 0}},
        EncodingCase{"DwordHexHighBit", u"N", u"0x80000000", kRegDword, "N",
                     kRegDword, Bytes{0x00, 0x00, 0x00, 0x80}},
        EncodingCase{"DwordHexAllBits", u"N", u"0xFFFFFFFF", kRegDword, "N",
                     kRegDword, Bytes{0xFF, 0xFF, 0xFF, 0xFF}},
        EncodingCase{"DwordHexLeadingZeros", u"N", u"0x00000000000000A",
                     kRegDword, "N", kRegDword, Bytes{10, 0, 0, 0}},
        EncodingCase{"DwordHexNoDigit", u"N", u"0x", kRegDword, "N", kRegDword,
                     Bytes{0, 0, 0, 0}},
        EncodingCase{"DwordHexStopsAtNonDigit", u"N", u"0x1fg2", kRegDword, "N",
                     kRegDword, Bytes{31, 0, 0, 0}},
        EncodingCase{"DwordHexPlus", u"N", u"+0x10", kRegDword, "N", kRegDword,
                     Bytes{16, 0, 0, 0}},
        EncodingCase{"DwordHexMinusNegates", u"N", u"-0x10", kRegDword, "N",
                     kRegDword, Bytes{0xF0, 0xFF, 0xFF, 0xFF}},
        EncodingCase{"DwordHexSmallest", u"N", u"-0x80000000", kRegDword, "N",
                     kRegDword, Bytes{0x00, 0x00, 0x00, 0x80}}),
    tolvu_test::ParamName<EncodingCase>);

TEST(WriteKeyValueTest, KeyOnlyWhenNoDataName) {
  RecordingHost host;
  host.AddKey(kTestHklm, "Software\\MyKey");
  EXPECT_EQ(WriteKeyValue(host, {kTestHklm, u"Software\\MyKey"},
                          {u"", u"x", kRegDword}),
            kSuccess);
  EXPECT_EQ(CallTexts(host.calls),
            (std::vector<std::string>{"RegCreateKeyA 80000002 Software\\MyKey",
                                      "RegCloseKey"}));
  EXPECT_TRUE(host.KeyExists(kTestHklm, "software\\mykey"));
}

TEST(WriteKeyValueTest, CallSequenceForAValue) {
  RecordingHost host;
  WriteKeyValue(host, {kTestHkcu, u"A\\B"}, {u"N", u"1", kRegDword});
  EXPECT_EQ(CallTexts(host.calls),
            (std::vector<std::string>{"RegCreateKeyA 80000001 A\\B",
                                      "RegSetValueExA N type 4 length 4",
                                      "RegCloseKey"}));
}

TEST(WriteKeyValueTest, FailedCreateUsesNoHandle) {
  RecordingHost host;
  EXPECT_EQ(WriteKeyValue(host, {0, u""}, {u"N", u"1", kRegDword}),
            kErrorInvalidHandle);
  EXPECT_EQ(
      WriteKeyValue(host, {kTestHkcu, u"A\\\\B"}, {u"N", u"1", kRegDword}),
      kErrorBadPathname);
  EXPECT_EQ(host.badHandleUses, 0);
  EXPECT_EQ(CallTexts(host.calls),
            (std::vector<std::string>{"RegCreateKeyA 00000000 ",
                                      "RegCreateKeyA 80000001 A\\\\B"}));
  EXPECT_TRUE(host.boxes.empty());
}

struct FailureCase {
  const char* name;
  std::u16string subKey;
  std::u16string dataName;
  std::u16string dataValue;
  std::uint32_t dataType;
  std::uint32_t code;
  bool keyCreated;
  std::vector<std::u16string> mentions;  // in the description
};

class WriteFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(WriteFailureTest, DescribesAndWritesNoValue) {
  const FailureCase& c = GetParam();
  RecordingHost host;
  EXPECT_EQ(WriteKeyValue(host, {kTestHkcu, c.subKey},
                          {c.dataName, c.dataValue, c.dataType}),
            c.code);
  ASSERT_EQ(host.boxes.size(), 1U);
  EXPECT_EQ(host.boxes[0].icon, Icon::None);
  EXPECT_EQ(host.boxes[0].title, u"Tolvu");
  for (const std::u16string& mention : c.mentions) {
    EXPECT_NE(host.boxes[0].text.find(mention), std::u16string::npos)
        << "description lacks an expected part";
  }
  EXPECT_EQ(host.KeyExists(kTestHkcu, "K"), c.keyCreated);
  for (const auto& entry : host.keys) {
    EXPECT_TRUE(entry.second.values.empty()) << entry.first;
  }
  EXPECT_TRUE(host.openKeys.empty());
  EXPECT_EQ(host.badHandleUses, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteFailureTest,
    testing::Values(
        FailureCase{"DwordTooLarge",
                    u"K",
                    u"N",
                    u"2147483648",
                    kRegDword,
                    kErrorArithmeticOverflow,
                    true,
                    {u"\"2147483648\"", u"too large", u"REG_DWORD"}},
        FailureCase{"DwordQuotedTooLarge",
                    u"K",
                    u"N",
                    u"\"2147483648\"",
                    kRegDword,
                    kErrorArithmeticOverflow,
                    true,
                    {u"\"2147483648\" is too large"}},
        FailureCase{"DwordFarTooLarge",
                    u"K",
                    u"N",
                    u"99999999999999999999",
                    kRegDword,
                    kErrorArithmeticOverflow,
                    true,
                    {u"too large"}},
        FailureCase{"DwordTooSmall",
                    u"K",
                    u"N",
                    u"-2147483649",
                    kRegDword,
                    kErrorArithmeticOverflow,
                    true,
                    {u"too small"}},
        FailureCase{"DwordRoundsOutOfRange",
                    u"K",
                    u"N",
                    u"2147483647.5",
                    kRegDword,
                    kErrorArithmeticOverflow,
                    true,
                    {u"too large"}},
        FailureCase{"DwordHexWiderThan32Bits",
                    u"K",
                    u"N",
                    u"0x100000000",
                    kRegDword,
                    kErrorArithmeticOverflow,
                    true,
                    {u"\"0x100000000\"", u"too large", u"0xFFFFFFFF"}},
        FailureCase{"DwordHexFarTooWide",
                    u"K",
                    u"N",
                    u"0x123456789ABCDEF0123456789",
                    kRegDword,
                    kErrorArithmeticOverflow,
                    true,
                    {u"too large"}},
        FailureCase{"DwordHexTooSmall",
                    u"K",
                    u"N",
                    u"-0x80000001",
                    kRegDword,
                    kErrorArithmeticOverflow,
                    true,
                    {u"too small"}},
        FailureCase{"BinaryLoneQuote",
                    u"K",
                    u"N",
                    u"\"",
                    kRegBinary,
                    kErrorInvalidData,
                    true,
                    {u"binary data"}},
        FailureCase{"BinaryQuotedNotOneByte",
                    u"K",
                    u"N",
                    u"\"a\u0416b\"",
                    kRegBinary,
                    kErrorNoUnicodeTranslation,
                    true,
                    {u"\u0416", u"U+0416", u"binary data"}},
        FailureCase{"KeyPathLoneSurrogate",
                    u"K\\\xD800",
                    u"N",
                    u"1",
                    kRegDword,
                    kErrorNoUnicodeTranslation,
                    false,
                    {u"U+D800", u"key path"}},
        FailureCase{"BinarySurrogatePairNamedOnce",
                    u"K",
                    u"N",
                    u"\"x\U0001F600\"",
                    kRegBinary,
                    kErrorNoUnicodeTranslation,
                    true,
                    {u"U+1F600", u"\"\U0001F600\""}},
        FailureCase{"LoneSurrogateByCodeOnly",
                    u"K",
                    u"N",
                    std::u16string(1, char16_t{0xD800}),
                    kRegSz,
                    kErrorNoUnicodeTranslation,
                    true,
                    {u"The character U+D800 in"}}),
    tolvu_test::ParamName<FailureCase>);

TEST(WriteKeyValueTest, FailureLeavesAnEarlierValueAlone) {
  RecordingHost host;
  WriteKeyValue(host, {kTestHkcu, u"K"}, {u"N", u"7", kRegDword});
  WriteKeyValue(host, {kTestHkcu, u"K"}, {u"N", u"4294967296", kRegDword});
  const TestValue* value = host.FindValue({kTestHkcu, "K", "N"});
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->data, (Bytes{7, 0, 0, 0}));
}

}  // namespace
}  // namespace tolvu
