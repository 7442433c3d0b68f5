#include "host/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace tolvu {
namespace {

struct LeadingCase {
  std::u16string text;
  double expected;
};

class LeadingNumberTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  EXPECT_DOUBLE_EQ(LeadingNumber(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingNumberTest,
    testing::Values(LeadingCase{u"", 0}, LeadingCase{u"abc", 0},
                    LeadingCase{u"-", 0}, LeadingCase{u"+", 0},
                    LeadingCase{u".", 0}, LeadingCase{u"123456", 123456},
                    LeadingCase{u"-1", -1}, LeadingCase{u"+7", 7},
                    LeadingCase{u"12.5", 12.5}, LeadingCase{u"-12.75x", -12.75},
                    LeadingCase{u".5", 0.5}, LeadingCase{u"5.", 5},
                    LeadingCase{u"42abc", 42}, LeadingCase{u"1.2.3", 1.2},
                    LeadingCase{u"\"5\"", 0}, LeadingCase{u" 5", 0},
                    LeadingCase{u"1,5", 1}, LeadingCase{u"1e3", 1},
                    LeadingCase{u"1.5e3", 1.5}, LeadingCase{u"0x1F", 0},
                    LeadingCase{u"--5", 0},
                    LeadingCase{u"00000000000000000000000000000042", 42},
                    LeadingCase{u"2147483648", 2147483648.0},
                    LeadingCase{u"\u0661",
                                0}));  // a non-ASCII digit is not a digit

TEST(LeadingNumberTest, HugeDigitRunsAreInfiniteOrZeroNeverGarbage) {
  const std::u16string huge(400, u'9');
  EXPECT_TRUE(std::isinf(LeadingNumber(huge)));
  EXPECT_TRUE(std::isinf(-LeadingNumber(u"-" + huge)));
  EXPECT_EQ(LeadingNumber(u"0." + std::u16string(400, u'0') + u"1"), 0.0);
}

struct RoundCase {
  double x;
  std::int32_t expected;
};

class RoundToInt32Test : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundToInt32Test, RoundsHalfToEven) {
  EXPECT_EQ(RoundToInt32(GetParam().x), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundToInt32Test,
    testing::Values(RoundCase{0.0, 0}, RoundCase{-0.0, 0}, RoundCase{0.5, 0},
                    RoundCase{1.5, 2}, RoundCase{2.5, 2}, RoundCase{3.5, 4},
                    RoundCase{12.5, 12}, RoundCase{13.5, 14},
                    RoundCase{-0.5, 0}, RoundCase{-1.5, -2},
                    RoundCase{-2.5, -2}, RoundCase{2.4999, 2},
                    RoundCase{2.5001, 3}, RoundCase{-2.6, -3},
                    RoundCase{2147483647.0, 2147483647},
                    RoundCase{2147483647.4, 2147483647},
                    RoundCase{-2147483648.0, -2147483647 - 1},
                    RoundCase{-2147483648.5, -2147483647 - 1}));

TEST(RoundToInt32Test, OutOfRangeIsNothing) {
  for (const double x :
       {2147483647.5, 2147483648.0, -2147483648.51, -2147483649.0, 1e300,
        -1e300, HUGE_VAL, -HUGE_VAL, std::nan("")}) {
    EXPECT_EQ(RoundToInt32(x), std::nullopt) << x;
  }
}

}  // namespace
}  // namespace tolvu
