#include "hidden_station.h"

namespace tolvu_e2e {

HiddenStation::HiddenStation()
    : name_(L"TolvuE2EHidden" + std::to_wstring(GetCurrentProcessId())),
      station_(
          CreateWindowStationW(name_.c_str(), 0, WINSTA_ALL_ACCESS, nullptr)) {
  if (station_ == nullptr) {
    error_ = L"CreateWindowStationW failed, error " +
             std::to_wstring(GetLastError());
    return;
  }
  // A desktop is made in the process's own station: switch there for it.
  HWINSTA original = GetProcessWindowStation();
  if (SetProcessWindowStation(station_) == 0) {
    error_ = L"SetProcessWindowStation failed, error " +
             std::to_wstring(GetLastError());
    return;
  }
  desktop_ =
      CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  const DWORD desktopError = GetLastError();
  SetProcessWindowStation(original);
  if (desktop_ == nullptr) {
    error_ = L"CreateDesktopW failed, error " + std::to_wstring(desktopError);
  }
}

HiddenStation::~HiddenStation() {
  if (desktop_ != nullptr) {
    CloseDesktop(desktop_);
  }
  if (station_ != nullptr) {
    CloseWindowStation(station_);
  }
}

bool HiddenStation::Visible() const {
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  return station_ != nullptr &&
         GetUserObjectInformationW(station_, UOI_FLAGS, &flags, sizeof(flags),
                                   &needed) != 0 &&
         (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace tolvu_e2e
