#include "host/ansi_text.h"

#include <gtest/gtest.h>

#include <string>

#include "host/run_failure.h"
#include "host/status_codes.h"
#include "support/code_pages.h"
#include "support/recording_host.h"

namespace tolvu {
namespace {

TEST(Cp1252Test, MapsLatin1AndTheHighControlsRange) {
  EXPECT_EQ(EncodeCp1252(u"A\u00ff\u00a0"), std::string("A\xff\xa0"));
  EXPECT_EQ(EncodeCp1252(u"\u20ac\u2122\u0178\u0081"),
            std::string("\x80\x99\x9f\x81"));
  EXPECT_EQ(EncodeCp1252(u""), std::string());
  for (const std::u16string text :
       {u"\u0080", u"\u0100", u"\u0416", u"a\u2603", u"\U0001F600"}) {
    EXPECT_EQ(EncodeCp1252(text), std::nullopt);
  }
}

// Where Windows ignores the manifest's UTF-8, the system code page is all
// there is.
TEST(AnsiOrFailTest, NamesTheFirstUnrepresentableCharacterAndArgument) {
  RecordingHost host;
  host.utf8CodePage = false;
  EXPECT_EQ(AnsiOrFail(host, u"Caf\u00e9", u"key path"), "Caf\xe9");
  try {
    AnsiOrFail(host, u"a\u00e9\u0416\u4e00", u"value name");
    FAIL() << "no failure";
  } catch (const RunFailure& failure) {
    EXPECT_EQ(failure.code, kErrorNoUnicodeTranslation);
    EXPECT_EQ(failure.description,
              u"The character \"\u0416\" (U+0416) in the value name "
              u"\"a\u00e9\u0416\u4e00\" cannot be represented in the system "
              u"code page.");
  }
}

}  // namespace
}  // namespace tolvu
