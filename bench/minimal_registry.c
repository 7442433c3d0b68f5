/* The floor for the start-up benchmark: a GUI-subsystem program that makes
   the registry calls of "tolvu.exe add HKCU\Software\TolvuBench\Key Name
   123456 REG_DWORD" and nothing else. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine,
                   int show) {
  HKEY key = NULL;
  const DWORD value = 123456;
  LONG status;
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  status = RegCreateKeyA(HKEY_CURRENT_USER, "Software\\TolvuBench\\Key", &key);
  if (status != ERROR_SUCCESS) {
    return (int)status;
  }
  status = RegSetValueExA(key, "Name", 0, REG_DWORD, (const BYTE*)&value,
                          sizeof value);
  RegCloseKey(key);
  return (int)status;
}
