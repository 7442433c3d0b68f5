// GoogleTest's hook for platform adjustments, found before its own empty one.
//
// mingw-w64's win32 thread model has no std::mutex or std::condition_variable,
// which GoogleTest's thread-safe build uses only for its Notification; this
// supplies that class on a Win32 event instead.
#ifndef TOLVU_E2E_GTEST_CUSTOM_PORT_H_
#define TOLVU_E2E_GTEST_CUSTOM_PORT_H_

#if defined(__MINGW32__)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() { CloseHandle(event_); }

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing
#endif  // __MINGW32__

#endif  // TOLVU_E2E_GTEST_CUSTOM_PORT_H_
