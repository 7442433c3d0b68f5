#include "cli/request.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "cli/root_keys.h"
#include "host/text.h"
#include "support/row_name.h"

namespace tolvu {
namespace {

// GoogleTest prints the rows with it, which clang-tidy does not see.
using tolvu_test::operator<<;  // NOLINT(misc-unused-using-decls)

struct RequestCase {
  const char* name;
  std::u16string commandText;
  std::u16string commandWord;
  std::uint32_t root;
  std::u16string subKey;
  std::u16string dataName;
  std::u16string dataValue;
  std::uint32_t dataType;
};

class ReadRequestTest : public testing::TestWithParam<RequestCase> {};

TEST_P(ReadRequestTest, ReadsFields) {
  const RequestCase& c = GetParam();
  const std::optional<Request> request =
      ReadRequest(SplitCommandLine(c.commandText));
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->commandWord, c.commandWord);
  EXPECT_EQ(request->root, c.root);
  EXPECT_EQ(request->subKey, c.subKey);
  EXPECT_EQ(request->dataName, c.dataName);
  EXPECT_EQ(request->dataValue, c.dataValue);
  EXPECT_EQ(request->dataType, c.dataType);
}

constexpr std::uint32_t kHklm = 0x80000002;
constexpr std::uint32_t kHkcu = 0x80000001;

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadRequestTest,
    testing::Values(
        RequestCase{"DwordExample",
                    u"add HKLM\\Software\\MyKey MyDataName 123456 REG_DWORD",
                    u"add", kHklm, u"Software\\MyKey", u"MyDataName", u"123456",
                    kRegDword},
        RequestCase{"QuotedKeyPathSplitThenUnquoted",
                    u"ADD \"HKLM\\Software\\My Key\"", u"add", kHklm,
                    u"Software\\My Key", u"", u"", kRegSz},
        RequestCase{"NameAndValueKeepQuotes",
                    u"Add hkcu\\A \"N\" \"V\" reg_binary", u"add", kHkcu, u"A",
                    u"\"N\"", u"\"V\"", kRegBinary},
        RequestCase{"LongRootName", u"add HKEY_CURRENT_USER\\A", u"add", kHkcu,
                    u"A", u"", u"", kRegSz},
        RequestCase{"PerformanceData", u"add hkpd\\A", u"add", 0x80000004, u"A",
                    u"", u"", kRegSz},
        RequestCase{"NoBackslashIsRootZero", u"remove MyKey x", u"remove", 0,
                    u"", u"x", u"", kRegSz},
        RequestCase{"NoneBeforeBackslash", u"add none\\Sub", u"add", 0, u"Sub",
                    u"", u"", kRegSz},
        RequestCase{"NoArguments", u"", u"", 0, u"", u"", u"", kRegSz},
        RequestCase{"OnlyFirstBackslashSplits", u"add HKCU\\A\\B\\", u"add",
                    kHkcu, u"A\\B\\", u"", u"", kRegSz},
        RequestCase{"SixthArgumentDropped",
                    u"add HKCU\\A N V REG_SZ REG_MULTI_SZ", u"add", kHkcu, u"A",
                    u"N", u"V", kRegSz},
        RequestCase{"QuotedCommandWordStaysQuoted", u"\"add\" HKCU\\A",
                    u"\"add\"", kHkcu, u"A", u"", u"", kRegSz},
        RequestCase{"QuotedRootIsStripped", u"add \"HKCU\"\\A", u"add", kHkcu,
                    u"A", u"", u"", kRegSz}),
    tolvu_test::ParamName<RequestCase>);

TEST(ReadRequestTest, RefusesUnknownTypeOrRoot) {
  for (const std::u16string text :
       {u"add HKCU\\A N V REG_MULTI_SZ", u"add HKCU\\A N V \"REG_SZ\"",
        u"export X N V REG_NONE", u"add \\Software\\A", u"add HKXX\\A",
        u"add HK\"CU\\A"}) {
    EXPECT_EQ(ReadRequest(SplitCommandLine(text)), std::nullopt);
  }
}

// Each abbreviation the usage names, in any case, and the long name an
// export gives the editor for it lead to one handle of their own.
TEST(RootKeysTest, NamesRoundTripThroughTheirHandles) {
  std::set<std::uint32_t> handles;
  for (const std::u16string name :
       {u"HKLM", u"hkcu", u"HKCR", u"Hku", u"HKCC", u"HKDD", u"HKPD"}) {
    const std::optional<std::uint32_t> handle = RootKeyHandle(name);
    ASSERT_TRUE(handle.has_value()) << handles.size();
    const std::u16string longName = RootKeyName(*handle);
    EXPECT_EQ(longName.rfind(u"HKEY_", 0), 0U);
    EXPECT_EQ(RootKeyHandle(ToLowerAscii(longName)), handle);
    EXPECT_EQ(RootKeyHandle(u"x" + name), std::nullopt);
    handles.insert(*handle);
  }
  EXPECT_EQ(handles.size(), 7U);
  EXPECT_EQ(handles.count(kNoRoot), 0U);
  EXPECT_EQ(RootKeyHandle(u"NoNe"), kNoRoot);
  EXPECT_EQ(RootKeyHandle(u""), std::nullopt);
  EXPECT_EQ(RootKeyName(kNoRoot), u"");
  EXPECT_EQ(RootKeyName(0x80000007), u"");
}

TEST(DataTypeTest, KnownNamesInAnyCaseOnly) {
  EXPECT_EQ(DataTypeOf(u"reg_sz"), kRegSz);
  EXPECT_EQ(DataTypeOf(u"Reg_Binary"), kRegBinary);
  EXPECT_EQ(DataTypeOf(u"REG_DWORD"), kRegDword);
  for (const std::u16string name : {u"", u"REG_MULTI_SZ", u"REG_EXPAND_SZ",
                                    u"REG_QWORD", u"REG_SZ ", u"\"REG_SZ\""}) {
    EXPECT_EQ(DataTypeOf(name), std::nullopt);
  }
}

}  // namespace
}  // namespace tolvu
