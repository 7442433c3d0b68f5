#include "cli/usage.h"

#include "host/app_identity.h"
#include "host/status_codes.h"

namespace tolvu {

std::u16string UsageText() {
  const std::u16string lines[] = {
      u"Usage:",
      u"",
      (u"Tolvu {add/remove/import/export} [RootKey\\Subkey] [DataName] "
       u"[DataValue] [DataType] [FileName]"),
      u"",
      u"- RootKey: [ HKLM | HKCU | HKCR | HKU | HKCC | HKDD | HKPD ]",
      u"- SubKey: Full path of  the registry key under Rootkey",
      u"- DataName: Data name assigned to DataValue",
      u"- DataValue: Data value of the DataName",
      u"- DataType: [ REG_SZ | REG_DWORD | REG_BINARY ]",
      u"- FileName: File to be import or export",
      u"",
      u"Examples: ",
      u"",
      u"Create Key:",
      u"Tolvu add \"HKLM\\Software\\My Key\"",
      u"",
      u"Create Value:",
      u"Tolvu add \"HKLM\\Software\\My Key\" MyDataName MyDataValue",
      u"Tolvu add HKLM\\Software\\MyKey MyDataName 123456 REG_DWORD",
      u"Tolvu add HKLM\\Software\\MyKey MyDataName 414243313233 REG_BINARY",
      (u"Tolvu add \"HKLM\\Software\\My Key\" MyDataName \"ABC123\" "
       u"REG_BINARY"),
      u"",
      u"Delete Key:",
      u"Tolvu remove HKLM\\Software\\MyKey",
      u"",
      u"Delete Value:",
      u"Tolvu remove HKLM\\Software\\MyKey MyDataName",
      u"",
      u"Import Key:",
      u"Tolvu import MyRegFile.reg",
      u"",
      u"Export Key:",
      u"Tolvu export HKLM\\Software\\MyKey MyRegFile.reg",
      u"",
      u"",
      WindowTitle() + u" - Registry Console Tool",
  };
  std::u16string text;
  for (const std::u16string& line : lines) {
    if (&line != &lines[0]) {
      text += u"\r\n";
    }
    text += line;
  }
  return text;
}

std::uint32_t ShowUsage(Host& host) {
  host.ShowMessageBox(UsageText(), Icon::Information, WindowTitle());
  return kErrorInvalidCommandLine;
}

}  // namespace tolvu
