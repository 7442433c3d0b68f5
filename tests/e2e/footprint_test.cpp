// What tolvu.exe is as a file: a 64-bit GUI program that needs nothing but
// system DLLs, declares UTF-8 as its code page in its manifest, and says
// who it is in its version resource.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <string>
#include <vector>

#include "pe_image.h"
#include "run_program.h"
#include "tool_identity.h"

namespace tolvu_e2e {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(std::tolower(c));
  });
  return text;
}

// DLLs that every Windows (and Wine) has; the C runtime may come as msvcrt or
// as the universal CRT's api sets.
bool IsSystemDll(const std::string& name) {
  static constexpr const char* kAllowed[] = {
      "kernel32.dll", "advapi32.dll", "msvcrt.dll",  "user32.dll",
      "shell32.dll",  "ntdll.dll",    "ucrtbase.dll"};
  const std::string lower = Lower(name);
  if (lower.rfind("api-ms-win-crt-", 0) == 0) {
    return true;
  }
  return std::find(std::begin(kAllowed), std::end(kAllowed), lower) !=
         std::end(kAllowed);
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) {
    text += (text.empty() ? "" : ", ") + name;
  }
  return text.empty() ? "(none)" : text;
}

TEST(Footprint, IsA64BitGuiProgramThatImportsOnlySystemDlls) {
  std::string error;
  const auto summary = ReadPeSummary(BesideThisProgram(L"tolvu.exe"), &error);
  ASSERT_TRUE(summary.has_value()) << error;

  EXPECT_EQ(summary->machine, IMAGE_FILE_MACHINE_AMD64);
  EXPECT_EQ(summary->subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  // Terminal-server aware: otherwise Remote Desktop servers give it a
  // per-user Windows folder, without the registry editor. NX and ASLR.
  for (const WORD flag : std::initializer_list<WORD>{
           IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE,
           IMAGE_DLLCHARACTERISTICS_NX_COMPAT,
           IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE}) {
    EXPECT_EQ(summary->dllCharacteristics & flag, flag) << std::hex << flag;
  }

  // The ANSI calls take UTF-8, so names and text in any language pass.
  EXPECT_NE(summary->manifest.find(
                "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/"
                "2019/WindowsSettings\">UTF-8</activeCodePage>"),
            std::string::npos)
      << summary->manifest;

  // Shown with every run: user32 and shell32 are meant to be loaded only
  // when a box or a launch needs them, which this list makes visible.
  std::cout << "tolvu.exe imports: " << Joined(summary->imports) << "\n"
            << "tolvu.exe delay-loads: " << Joined(summary->delayImports)
            << "\n";
  ::testing::Test::RecordProperty("imports", Joined(summary->imports));
  ::testing::Test::RecordProperty("delayImports",
                                  Joined(summary->delayImports));

  for (const auto& name : summary->imports) {
    EXPECT_TRUE(IsSystemDll(name)) << name << " is not a system DLL";
  }
  for (const auto& name : summary->delayImports) {
    EXPECT_TRUE(IsSystemDll(name)) << name << " is not a system DLL";
  }
}

// Loading user32 and shell32 at start-up costs as much as the registry calls
// themselves; the tool loads them only when it shows a box or launches the
// editor.
TEST(Footprint, LeavesUser32AndShell32OutOfItsImports) {
  std::string error;
  const auto summary = ReadPeSummary(BesideThisProgram(L"tolvu.exe"), &error);
  ASSERT_TRUE(summary.has_value()) << error;

  for (const auto& name : summary->imports) {
    const std::string lower = Lower(name);
    EXPECT_NE(lower, "user32.dll") << "tolvu.exe imports " << name;
    EXPECT_NE(lower, "shell32.dll") << "tolvu.exe imports " << name;
  }
}

TEST(Footprint, CarriesItsVersionAndProductName) {
  const auto info = ReadVersionInfo(BesideThisProgram(L"tolvu.exe"));
  ASSERT_TRUE(info.has_value()) << "tolvu.exe has no version resource";
  EXPECT_EQ(std::vector<WORD>(std::begin(info->fileVersion),
                              std::end(info->fileVersion)),
            std::vector<WORD>(std::begin(tolvu_identity::kToolVersion),
                              std::end(tolvu_identity::kToolVersion)));
  const std::u16string version = tolvu_identity::kToolVersionText;
  EXPECT_EQ(info->fileVersionText,
            std::wstring(version.begin(), version.end()));
  EXPECT_EQ(info->productName, L"Tolvu");
}

}  // namespace
}  // namespace tolvu_e2e
