// planted_marker.exe: a harmless program that the cases plant as regedit.exe
// in the tool's working folder, or put in the system editor's place. It
// leaves planted-ran.txt in its current folder, so that a case can tell it
// was run. In the editor's place it does what TOLVU_E2E_EDITOR asks:
// "sleep MS" waits that long first, and "write" then writes the file of an
// export (/e FILE KEY) with the text "stand-in export".
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

bool WriteMarker(const wchar_t* path, const char* text) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
  CloseHandle(file);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/,
                    PWSTR /*commandLine*/, int /*show*/) {
  std::wstring script(256, L'\0');
  script.resize(GetEnvironmentVariableW(L"TOLVU_E2E_EDITOR", script.data(),
                                        static_cast<DWORD>(script.size())));
  const std::size_t sleep = script.find(L"sleep ");
  if (sleep != std::wstring::npos) {
    Sleep(static_cast<DWORD>(_wtoi(script.c_str() + sleep + 6)));
  }
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (script.find(L"write") != std::wstring::npos && args != nullptr &&
      count == 4 && std::wstring(args[1]) == L"/e") {
    WriteMarker(args[2], "stand-in export");
  }
  LocalFree(args);
  return WriteMarker(L"planted-ran.txt", "") ? 0 : 1;
}
