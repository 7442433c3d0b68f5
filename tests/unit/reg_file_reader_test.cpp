#include "regfiles/reg_file_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/code_pages.h"
#include "support/recording_host.h"
#include "support/row_name.h"

namespace tolvu {
namespace {

using namespace std::string_literals;

// An entry as "root digit:sub key" ("0:key as named" for a root the
// editor does not take), then "name=type:bytes" or "name=-" for a value;
// keys as [..] or [-..].
std::string Text(const RegEntry& entry) {
  const std::string key =
      std::to_string(entry.root & 0xFU) + ":" +
      EncodeUtf8(entry.root == 0 ? entry.key : SubKeyOf(entry)).value_or("?");
  switch (entry.kind) {
    case RegEntry::Key:
      return "[" + key + "]";
    case RegEntry::DeleteKey:
      return "[-" + key + "]";
    case RegEntry::DeleteValue:
      return key + " " + EncodeUtf8(entry.name).value_or("?") + "=-";
    case RegEntry::Value:
      break;
  }
  std::string bytes;
  for (const std::uint8_t byte : entry.data) {
    bytes += "0123456789abcdef"[byte >> 4U];
    bytes += "0123456789abcdef"[byte & 0xFU];
  }
  return key + " " + EncodeUtf8(entry.name).value_or("?") + "=" +
         std::to_string(entry.type) + ":" + bytes;
}

std::string V5(const std::u16string& body) {
  return Utf16File(u"Windows Registry Editor Version 5.00\r\n" + body);
}

struct ReaderCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> entries;  // {"none"}: no registry file
  std::size_t skipped = 0;
  std::size_t firstSkipped = 0;
};

class ReaderTest : public testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderTest, GivesTheEntriesTheEditorApplies) {
  const std::optional<RegFile> file =
      ReadRegFile(GetParam().bytes, DecodeCp1252);
  std::vector<std::string> entries;
  for (const RegEntry& entry : file ? file->entries : std::vector<RegEntry>{}) {
    entries.push_back(Text(entry));
  }
  EXPECT_EQ(file ? entries : std::vector<std::string>{"none"},
            GetParam().entries);
  EXPECT_EQ(file ? file->skipped : 0, GetParam().skipped);
  EXPECT_EQ(file ? file->firstSkipped : 0, GetParam().firstSkipped);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderTest,
    testing::Values(
        ReaderCase{
            "EveryForm",
            V5(u"\r\n; comment\r\n[HKEY_CURRENT_USER\\A] ; x\r\n"
               u"\"S\" = \"x\"  \r\n@=dword: 1\r\n\"B\"=hex: 01, ff\r\n"
               u"\"E\"=hex(2):41,00,42,00\r\n\"M\"=hex(7):61,00\r\n"
               u"\"N\"=hex(0):\r\n"
               u"\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n\"D\"=-\r\n"
               u"[-HKEY_LOCAL_MACHINE\\X]\r\n"),
            {"[1:A]", "1:A S=1:78000000", "1:A =4:01000000", "1:A B=3:01ff",
             "1:A E=2:410042000000", "1:A M=7:61000000",
             "1:A N=0:", "1:A Q=11:0100000000000000", "1:A D=-", "[-2:X]"}},
        ReaderCase{"ContinuationLines",
                   V5(u"[HKEY_USERS\\A]\r\n\"B\"=hex:01,\\\r\n  02,\\\r\n\r\n"
                      u"  ; between\r\n  03\r\n\"C\"=hex:04,\\\r\n\r\n"),
                   {"[3:A]", "3:A B=3:010203", "3:A C=3:04"}},
        ReaderCase{"Escapes",
                   V5(u"[HKEY_CLASSES_ROOT]\r\n\"a\\\"b\\\\\"=\"c\\\\\"\r\n"),
                   {"[0:]", "0: a\"b\\=1:63005c000000"}},
        // As the editor reads them: DWORD in capitals and a ninth digit are
        // skipped, and so is anything else that is no entry.
        ReaderCase{
            "UnreadableLines",
            V5(u"[HKEY_CURRENT_USER\\A]\r\n\"N\"=dword:0ffffffff\r\n"
               u"\"U\"=DWORD:1\r\nnonsense\r\n\"S\"=\"x\r\n@=dword:2\r\n"),
            {"[1:A]", "1:A =4:02000000"},
            4,
            3},
        // The editor refuses the short root name; the entries stay, to be
        // found missing. After [-KEY] values go nowhere.
        ReaderCase{"ShortRootNameAndDeletedKey",
                   V5(u"[HKCU\\A]\r\n@=\"\"\r\n[-HKEY_CURRENT_USER\\B]\r\n"
                      u"\"V\"=\"\"\r\n[-HKCU\\C]\r\n[-HKEY_CURRENT_USER]\r\n"),
                   {"[0:HKCU\\A]", "0:HKCU\\A =1:0000", "[-1:B]"},
                   3,
                   5},
        // Every long root name but that of performance data, in any case.
        ReaderCase{"Roots",
                   V5(u"[HKEY_CLASSES_ROOT\\K]\r\n[HKEY_CURRENT_USER\\K]\r\n"
                      u"[HKEY_LOCAL_MACHINE\\K]\r\n[HKEY_USERS\\K]\r\n"
                      u"[HKEY_CURRENT_CONFIG\\K]\r\n[HKEY_DYN_DATA\\K]\r\n"
                      u"[hkey_performance_data\\K]\r\n[hkey_users]\r\n[]\r\n"),
                   {"[0:K]", "[1:K]", "[2:K]", "[3:K]", "[5:K]", "[6:K]",
                    "[0:hkey_performance_data\\K]", "[3:]", "[0:]"}},
        // What the editor skips, a line each.
        ReaderCase{"Malformed",
                   V5(u"[HKEY_USERS\\A]\r\n[\r\n[ HKEY_USERS\\A]\r\n\"N=1\r\n"
                      u"\"N\" 1\r\n\"N\"=dword:1 x\r\n\"N\"=hex:100\r\n"
                      u"\"N\"=hex:01,\\ x\r\n\"N\"=hex:01 x\r\n@=\"x\r\n"
                      u"@=\"x\" y\r\n"),
                   {"[3:A]"},
                   10,
                   3},
        // One entry over three lines, skipped as one, by its first line;
        // the editor reads on after it.
        ReaderCase{"BrokenContinuation",
                   V5(u"[HKEY_USERS\\A]\r\n\"a\"=hex:01,02,\\\r\n  zz,03\r\n"
                      u"\"b\"=\"x\"\r\n"),
                   {"[3:A]", "3:A b=1:78000000"},
                   1,
                   3},
        // In a UTF-16 file a string of an odd number of bytes is kept as
        // it is; a type code is 1 to 8 digits, closed by "):".
        ReaderCase{"TypedHex",
                   V5(u"[HKEY_USERS\\A]\r\n\"O\"=hex(1):41,00,42\r\n"
                      u"\"P\"=hex(1):00,41\r\n"
                      u"\"T\"=hex(2:01\r\n\"U\"=hex():01\r\n"
                      u"\"V\"=hex(123456789):01\r\n\"W\"=hex(1)01\r\n"),
                   {"[3:A]", "3:A O=1:410042", "3:A P=1:00410000"},
                   4,
                   5},
        ReaderCase{"HexDigitsInBothCases",
                   V5(u"[HKEY_USERS\\A]\r\n\"B\"=hex:aF,Fa,A9\r\n"
                      u"@=dword:fAbCdE09\r\n"),
                   {"[3:A]", "3:A B=3:affaa9", "3:A =4:09debcfa"}},
        ReaderCase{"NulEndsTheLine",
                   V5(u"[HKEY_USERS\\A]\r\n\"S\"=\"x\"\0 \"\r\n"s),
                   {"[3:A]", "3:A S=1:78000000"}},
        ReaderCase{"LfCrAndNoLastLineEnd",
                   "REGEDIT4\n[HKEY_CURRENT_USER\\A]\r\"S\"=\"x\"",
                   {"[1:A]", "1:A S=1:78000000"}},
        ReaderCase{
            "EightBitTextInTheSystemCodePage",
            "REGEDIT4\r\n[HKEY_CURRENT_USER\\Caf\xe9]\r\n\"S\"=\"\x80\"\r\n"
            "\"E\"=hex(2):25,e9,00\r\n",
            {"[1:Caf\xc3\xa9]", "1:Caf\xc3\xa9 S=1:ac200000",
             "1:Caf\xc3\xa9 E=2:2500e9000000"}},
        ReaderCase{"BlanksBeforeTheHeader",
                   Utf16File(u" \tREGEDIT4\r\n[HKEY_USERS\\A]\r\n"),
                   {"[3:A]"}},
        ReaderCase{"TextFile", "settings\r\n", {"none"}},
        ReaderCase{"Utf8WithByteOrderMark",
                   "\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n",
                   {"none"}},
        ReaderCase{"HeaderInLowerCase",
                   Utf16File(u"windows registry editor version 5.00\r\n"),
                   {"none"}}),
    tolvu_test::ParamName<ReaderCase>);

}  // namespace
}  // namespace tolvu
