#include "cli/split_command_line.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvu {
namespace {

// GoogleTest prints the rows with it, which clang-tidy does not see.
using tolvu_test::operator<<;  // NOLINT(misc-unused-using-decls)

struct SplitCase {
  const char* name;
  std::u16string text;
  std::vector<std::u16string> args;  // slots 1 to count
  int maxArgs = kMaxArguments;
};

class SplitCommandLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, CutsArgumentsKeepingQuotes) {
  const SplitCase& c = GetParam();
  const ArgumentArray args = SplitCommandLine(c.text, c.maxArgs);
  ASSERT_FALSE(args.empty());
  EXPECT_EQ(args[0], u"") << "slot 0 is never filled";
  EXPECT_EQ(std::vector<std::u16string>(args.begin() + 1, args.end()), c.args);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    testing::Values(
        SplitCase{"Empty", u"", {}},
        SplitCase{"OnlyBlanksAndTabs", u" \t  \t", {}},
        SplitCase{"QuotedKeyPath",
                  u"add \"HKLM\\Software\\My Key\"",
                  {u"add", u"\"HKLM\\Software\\My Key\""}},
        SplitCase{"TabsSeparateLikeBlanks",
                  u"add\tHKCU\\A\t\tName",
                  {u"add", u"HKCU\\A", u"Name"}},
        SplitCase{"RunsMakeNoEmptyArguments",
                  u"  add   \t HKCU\\A  ",
                  {u"add", u"HKCU\\A"}},
        SplitCase{"TabInsideQuotesStays", u"\"a\tb\" c", {u"\"a\tb\"", u"c"}},
        SplitCase{"QuoteInMiddleToggles", u"a\"b c\"d e", {u"a\"b c\"d", u"e"}},
        SplitCase{"UnmatchedQuoteKeepsRest",
                  u"add \"HKCU\\A B  C",
                  {u"add", u"\"HKCU\\A B  C"}},
        SplitCase{"TwoQuotesAreAnArgument",
                  u"add x \"\" y",
                  {u"add", u"x", u"\"\"", u"y"}},
        SplitCase{
            "EleventhIgnored",
            u"1 2 3 4 5 6 7 8 9 10 11 \"12 13",
            {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}},
        SplitCase{
            "ExactlyTen",
            u"1 2 3 4 5 6 7 8 9 10",
            {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}},
        SplitCase{"SmallerCap", u"a b c", {u"a", u"b"}, 2},
        SplitCase{"NonAsciiKept",
                  u"add HKCU\\Caf\u00e9 \u20ac",
                  {u"add", u"HKCU\\Caf\u00e9", u"\u20ac"}}),
    tolvu_test::ParamName<SplitCase>);

struct StripCase {
  std::u16string text;
  std::u16string expected;
};

class StripQuotesTest : public testing::TestWithParam<StripCase> {};

TEST_P(StripQuotesTest, RemovesAtMostOneQuoteAtEachEnd) {
  EXPECT_EQ(StripQuotes(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StripQuotesTest,
                         testing::Values(StripCase{u"", u""},
                                         StripCase{u"\"", u""},
                                         StripCase{u"\"\"", u""},
                                         StripCase{u"\"abc", u"abc"},
                                         StripCase{u"abc\"", u"abc"},
                                         StripCase{u"\"a\"b\"", u"a\"b"},
                                         StripCase{u"\"\"abc\"\"", u"\"abc\""},
                                         StripCase{u"a\"b", u"a\"b"},
                                         StripCase{u"plain", u"plain"}));

}  // namespace
}  // namespace tolvu
