#include "host/unseen_box.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvu {
namespace {

// GoogleTest prints the rows with it, which clang-tidy does not see.
using tolvu_test::operator<<;  // NOLINT(misc-unused-using-decls)

struct UnseenCase {
  const char* name;
  std::u16string title;
  std::u16string text;
  std::string bytes;
};

class UnseenBoxTextTest : public testing::TestWithParam<UnseenCase> {};

TEST_P(UnseenBoxTextTest, IsTitleAndTextAsUtf8) {
  EXPECT_EQ(UnseenBoxText(GetParam().title, GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnseenBoxTextTest,
    testing::Values(
        UnseenCase{"OneLine", u"Error", u"File not found",
                   "Error: File not found\r\n"},
        UnseenCase{"LinesKeepTheirBreaks", u"Tolvu 1.1", u"Usage:\r\n\r\nx",
                   "Tolvu 1.1: Usage:\r\n\r\nx\r\n"},
        UnseenCase{"TwoByteCharacter", u"Tolvu", u"Caf\u00e9",
                   "Tolvu: Caf\xc3\xa9\r\n"},
        UnseenCase{"FirstTwoByteCharacter", u"Tolvu", u"\u0080",
                   "Tolvu: \xc2\x80\r\n"},
        UnseenCase{"SurrogatePairFirst", u"\U0001F600", u"x",
                   "\xf0\x9f\x98\x80: x\r\n"},
        UnseenCase{"ThreeByteCharacter", u"Tolvu", u"\u20ac\u0416",
                   "Tolvu: \xe2\x82\xac\xd0\x96\r\n"},
        UnseenCase{"FirstThreeByteCharacter", u"Tolvu", u"\u0800",
                   "Tolvu: \xe0\xa0\x80\r\n"},
        UnseenCase{"SurrogatePair", u"Tolvu", u"\U0001F600",
                   "Tolvu: \xf0\x9f\x98\x80\r\n"},
        UnseenCase{"FirstFourByteCharacter", u"Tolvu", u"\U00010000",
                   "Tolvu: \xf0\x90\x80\x80\r\n"},
        UnseenCase{"LoneSurrogatesAreReplaced", u"Tolvu",
                   std::u16string{char16_t{0xDC00}, u'x', char16_t{0xD800}},
                   "Tolvu: \xef\xbf\xbdx\xef\xbf\xbd\r\n"}),
    tolvu_test::ParamName<UnseenCase>);

}  // namespace
}  // namespace tolvu
