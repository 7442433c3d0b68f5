// planted_marker.exe: a harmless program that the cases plant as regedit.exe
// in the tool's working folder. All it does is leave planted-ran.txt in its
// current folder, so that a case can tell it was run instead of the system's
// registry editor.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/,
                    PWSTR /*commandLine*/, int /*show*/) {
  HANDLE file = CreateFileW(L"planted-ran.txt", GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return 1;
  }
  CloseHandle(file);
  return 0;
}
