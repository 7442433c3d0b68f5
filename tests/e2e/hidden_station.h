// A window station that no user sees, as services and deployment agents
// have, with a desktop to start programs on.
#pragma once

#include <windows.h>

#include <string>

namespace tolvu_e2e {

class HiddenStation {
 public:
  HiddenStation();
  HiddenStation(const HiddenStation&) = delete;
  HiddenStation& operator=(const HiddenStation&) = delete;
  HiddenStation(HiddenStation&&) = delete;
  HiddenStation& operator=(HiddenStation&&) = delete;
  ~HiddenStation();

  // What went wrong creating it; empty when it is ready.
  const std::wstring& Error() const { return error_; }
  // "Station\Default", for STARTUPINFOW.lpDesktop.
  std::wstring Desktop() const { return name_ + L"\\Default"; }
  // Whether the station says it is visible, as a program there would ask.
  bool Visible() const;

 private:
  std::wstring name_;
  HWINSTA station_ = nullptr;
  HDESK desktop_ = nullptr;
  std::wstring error_;
};

}  // namespace tolvu_e2e
