#include "host/text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tolvu {
namespace {

TEST(TextTest, DecimalTextCoversTheExtremes) {
  EXPECT_EQ(DecimalText(0), u"0");
  EXPECT_EQ(DecimalText(-7), u"-7");
  EXPECT_EQ(DecimalText(2147483647), u"2147483647");
  EXPECT_EQ(DecimalText(INT64_MIN), u"-9223372036854775808");
}

TEST(TextTest, CodePointTextHasAtLeastFourDigits) {
  EXPECT_EQ(CodePointText(0x41), u"U+0041");
  EXPECT_EQ(CodePointText(0x20AC), u"U+20AC");
  EXPECT_EQ(CodePointText(0x1F600), u"U+1F600");
  EXPECT_EQ(CodePointText(0x10FFFF), u"U+10FFFF");
}

TEST(TextTest, Utf16LeRoundTripsAndDropsAnOddLastByte) {
  EXPECT_EQ(Utf16Le(u"A\u0416"), std::string("A\0\x16\x04", 4));
  EXPECT_EQ(FromUtf16Le(std::string("\xFF\xFE"
                                    "A\0z",
                                    5),
                        2),
            u"A");
}

TEST(TextTest, FoldingIsAsciiOnly) {
  EXPECT_EQ(ToUpperAscii(u"reg_sz\u00e9"), u"REG_SZ\u00e9");
  EXPECT_EQ(ToLowerAscii(u"AZ.REG\u00c9"), u"az.reg\u00c9");
}

}  // namespace
}  // namespace tolvu
