#include "usage_text.h"

namespace tolvu_e2e {

std::wstring UsageText() {
  // Written out line by line rather than built, so that a slip in the
  // tool's own construction of the text cannot be mirrored here.
  static constexpr const wchar_t* kLines[] = {
      L"Usage:",
      L"",
      // One line, one literal: not split to fit the page.
      // clang-format off
      L"Tolvu {add/remove/import/export} [RootKey\\Subkey] [DataName] [DataValue] [DataType] [FileName]",
      // clang-format on
      L"",
      L"- RootKey: [ HKLM | HKCU | HKCR | HKU | HKCC | HKDD | HKPD ]",
      L"- SubKey: Full path of  the registry key under Rootkey",
      L"- DataName: Data name assigned to DataValue",
      L"- DataValue: Data value of the DataName",
      L"- DataType: [ REG_SZ | REG_DWORD | REG_BINARY ]",
      L"- FileName: File to be import or export",
      L"",
      L"Examples: ",
      L"",
      L"Create Key:",
      L"Tolvu add \"HKLM\\Software\\My Key\"",
      L"",
      L"Create Value:",
      L"Tolvu add \"HKLM\\Software\\My Key\" MyDataName MyDataValue",
      L"Tolvu add HKLM\\Software\\MyKey MyDataName 123456 REG_DWORD",
      L"Tolvu add HKLM\\Software\\MyKey MyDataName 414243313233 REG_BINARY",
      L"Tolvu add \"HKLM\\Software\\My Key\" MyDataName \"ABC123\" REG_BINARY",
      L"",
      L"Delete Key:",
      L"Tolvu remove HKLM\\Software\\MyKey",
      L"",
      L"Delete Value:",
      L"Tolvu remove HKLM\\Software\\MyKey MyDataName",
      L"",
      L"Import Key:",
      L"Tolvu import MyRegFile.reg",
      L"",
      L"Export Key:",
      L"Tolvu export HKLM\\Software\\MyKey MyRegFile.reg",
      L"",
      L"",
      L"Tolvu 1.1 - Registry Console Tool",
  };
  constexpr size_t kLineCount = sizeof(kLines) / sizeof(kLines[0]);
  static_assert(kLineCount == 36);
  std::wstring text = kLines[0];
  for (size_t i = 1; i < kLineCount; ++i) {
    text += L"\r\n";
    text += kLines[i];
  }
  return text;
}

Box UsageBox() { return Box{L"Tolvu 1.1", UsageText(), BoxIcon::Information}; }

}  // namespace tolvu_e2e
