#include "registry/delete_key_or_value.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// A registry with HKCU\Top\Leaf holding values A and B (and the default
// value), HKCU\Top holding value T, and a value R directly under HKCU.
void Populate(RecordingHost& host) {
  HostKey key = 0;
  host.RegCreateKeyA(kTestHkcu, "Top\\Leaf", &key);
  host.RegSetValueExA(key, "A", kRegSz, {'a', 0});
  host.RegSetValueExA(key, "B", kRegSz, {'b', 0});
  host.RegSetValueExA(key, "", kRegSz, {'d', 0});
  host.RegCloseKey(key);
  host.RegCreateKeyA(kTestHkcu, "Top", &key);
  host.RegSetValueExA(key, "T", kRegSz, {'t', 0});
  host.RegCloseKey(key);
  host.RegCreateKeyA(kTestHkcu, "", &key);
  host.RegSetValueExA(key, "R", kRegSz, {'r', 0});
  host.RegCloseKey(key);
  host.calls.clear();
}

struct DeleteCase {
  const char* name;
  std::uint32_t root;
  std::u16string subKey;    // as the main flow passes it (unquoted once)
  std::u16string dataName;  // as typed
  std::uint32_t status;
  std::vector<std::string> calls;
  bool leafExists;
  std::vector<std::string> leafValues;  // still present, when it exists
  // Deleted, by sub key and name.
  std::vector<std::pair<std::string, std::string>> goneValues;
};

class DeleteTest : public testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteTest, DeletesExactlyWhatIsNamed) {
  const DeleteCase& c = GetParam();
  RecordingHost host;
  Populate(host);
  EXPECT_EQ(DeleteKeyOrValue(host, {c.root, c.subKey}, c.dataName), c.status);
  EXPECT_EQ(CallTexts(host.calls), c.calls);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_TRUE(host.openKeys.empty());
  EXPECT_EQ(host.badHandleUses, 0);
  EXPECT_EQ(host.KeyExists(kTestHkcu, "Top\\Leaf"), c.leafExists);
  EXPECT_TRUE(host.KeyExists(kTestHkcu, "Top"));
  for (const std::string& name : c.leafValues) {
    EXPECT_NE(host.FindValue({kTestHkcu, "Top\\Leaf", name}), nullptr) << name;
  }
  for (const auto& [subKey, name] : c.goneValues) {
    EXPECT_EQ(host.FindValue({kTestHkcu, subKey, name}), nullptr) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteTest,
    testing::Values(DeleteCase{"Key",
                               kTestHkcu,
                               u"Top\\Leaf",
                               u"",
                               kSuccess,
                               {"RegOpenKeyA 80000001 Top\\Leaf",
                                "RegDeleteKeyA 80000001 Top\\Leaf",
                                "RegCloseKey"},
                               false,
                               {},
                               {}},
                    DeleteCase{"Value",
                               kTestHkcu,
                               u"Top\\Leaf",
                               u"A",
                               kSuccess,
                               {"RegOpenKeyA 80000001 Top\\Leaf",
                                "RegDeleteValueA A", "RegCloseKey"},
                               true,
                               {"B", ""},
                               {{"Top\\Leaf", "A"}}},
                    DeleteCase{"QuotedValueNameIsTheSame",
                               kTestHkcu,
                               u"top\\leaf",
                               u"\"a\"",
                               kSuccess,
                               {"RegOpenKeyA 80000001 top\\leaf",
                                "RegDeleteValueA a", "RegCloseKey"},
                               true,
                               {"B", ""},
                               {{"Top\\Leaf", "A"}}},
                    // Two quotes name the default value, as when adding.
                    DeleteCase{"TwoQuotesDeleteTheDefaultValue",
                               kTestHkcu,
                               u"Top\\Leaf",
                               u"\"\"",
                               kSuccess,
                               {"RegOpenKeyA 80000001 Top\\Leaf",
                                "RegDeleteValueA ", "RegCloseKey"},
                               true,
                               {"A", "B"},
                               {{"Top\\Leaf", ""}}},
                    DeleteCase{"SubKeyStrippedAgain",
                               kTestHkcu,
                               u"\"Top\\Leaf\"",
                               u"B",
                               kSuccess,
                               {"RegOpenKeyA 80000001 Top\\Leaf",
                                "RegDeleteValueA B", "RegCloseKey"},
                               true,
                               {"A", ""},
                               {{"Top\\Leaf", "B"}}},
                    DeleteCase{"MissingKeyNothingDeleted",
                               kTestHkcu,
                               u"Top\\Gone",
                               u"",
                               kErrorFileNotFound,
                               {"RegOpenKeyA 80000001 Top\\Gone"},
                               true,
                               {"A", "B", ""},
                               {}},
                    DeleteCase{"MissingValue",
                               kTestHkcu,
                               u"Top\\Leaf",
                               u"Z",
                               kErrorFileNotFound,
                               {"RegOpenKeyA 80000001 Top\\Leaf",
                                "RegDeleteValueA Z", "RegCloseKey"},
                               true,
                               {"A", "B", ""},
                               {}},
                    DeleteCase{"RootZeroSilent",
                               0,
                               u"",
                               u"",
                               kErrorInvalidHandle,
                               {"RegOpenKeyA 00000000 "},
                               true,
                               {"A", "B", ""},
                               {}},
                    DeleteCase{"ValueDirectlyUnderRoot",
                               kTestHkcu,
                               u"",
                               u"R",
                               kSuccess,
                               {"RegOpenKeyA 80000001 ", "RegDeleteValueA R",
                                "RegCloseKey"},
                               true,
                               {"A", "B", ""},
                               {{"", "R"}}}),
    tolvu_test::ParamName<DeleteCase>);

// The registry refuses a key with sub keys as access denied, which is not
// the reason; a refusal of a key without any is.
INSTANTIATE_TEST_SUITE_P(
    Refused, DeleteTest,
    testing::Values(DeleteCase{"KeyWithSubKeys",
                               kTestHkcu,
                               u"Top",
                               u"",
                               kErrorKeyHasChildren,
                               {"RegOpenKeyA 80000001 Top",
                                "RegDeleteKeyA 80000001 "
                                "Top",
                                "RegQueryInfoKeyA", "RegCloseKey"},
                               true,
                               {"A", "B", ""},
                               {}},
                    DeleteCase{
                        "EmptyRootItself",
                        0x80000005,
                        u"",
                        u"",
                        kErrorAccessDenied,
                        {"RegOpenKeyA 80000005 ", "RegDeleteKeyA 80000005 ",
                         "RegQueryInfoKeyA", "RegCloseKey"},
                        true,
                        {"A", "B", ""},
                        {}}),
    tolvu_test::ParamName<DeleteCase>);

TEST(DeleteKeyOrValueTest, UnrepresentableNameDeletesNothing) {
  for (const auto& [subKey, dataName] :
       {std::pair<std::u16string, std::u16string>{u"Top\\\xD800", u""},
        {u"Top\\Leaf", u"\xD800"}}) {
    RecordingHost host;
    Populate(host);
    EXPECT_EQ(DeleteKeyOrValue(host, {kTestHkcu, subKey}, dataName),
              kErrorNoUnicodeTranslation);
    ASSERT_EQ(host.boxes.size(), 1U);
    EXPECT_EQ(host.boxes[0].icon, Icon::None);
    EXPECT_NE(host.boxes[0].text.find(u"U+D800"), std::u16string::npos);
    EXPECT_TRUE(host.calls.empty());
  }
}

}  // namespace
}  // namespace tolvu
