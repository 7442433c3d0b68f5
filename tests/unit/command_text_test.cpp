#include "host/command_text.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvu {
namespace {

// GoogleTest prints the rows with it, which clang-tidy does not see.
using tolvu_test::operator<<;  // NOLINT(misc-unused-using-decls)

struct ProgramNameCase {
  const char* name;
  std::u16string commandLine;
  std::u16string after;
};

class TextAfterProgramNameTest
    : public testing::TestWithParam<ProgramNameCase> {};

TEST_P(TextAfterProgramNameTest, EndsTheNameAtABlankOutsideQuotes) {
  EXPECT_EQ(TextAfterProgramName(GetParam().commandLine), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextAfterProgramNameTest,
    testing::Values(
        // A batch file's "%~dp0"tolvu.exe.
        ProgramNameCase{"BatchFolderQuoted",
                        u"\"C:\\My Tools\\\"tolvu.exe add HKCU\\X N V",
                        u" add HKCU\\X N V"},
        ProgramNameCase{"FolderQuotedWithoutSlash",
                        u"\"C:\\My Tools\"\\tolvu.exe add HKCU\\X",
                        u" add HKCU\\X"},
        ProgramNameCase{"InnerFolderQuoted",
                        u"C:\\\"My Tools\"\\tolvu.exe add HKCU\\X",
                        u" add HKCU\\X"},
        ProgramNameCase{"WholePathQuoted",
                        u"\"C:\\My Tools\\tolvu.exe\" add HKCU\\X",
                        u" add HKCU\\X"},
        ProgramNameCase{"PathWithoutQuotes", u"C:\\Tools\\tolvu.exe add",
                        u" add"},
        ProgramNameCase{"TabAfterName", u"tolvu.exe\tadd HKCU\\X",
                        u"\tadd HKCU\\X"},
        ProgramNameCase{"NothingAfterName", u"\"C:\\My Tools\\\"tolvu.exe",
                        u""},
        ProgramNameCase{"QuoteAfterTheNameStartsTheRequest",
                        u"tolvu.exe \"add\" x", u" \"add\" x"},
        ProgramNameCase{"UnclosedQuoteTakesTheLine", u"\"C:\\a b add x", u""}),
    tolvu_test::ParamName<ProgramNameCase>);

}  // namespace
}  // namespace tolvu
