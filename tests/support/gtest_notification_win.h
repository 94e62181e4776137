// GoogleTest's Notification over a Win32 event. The Windows trees use MinGW's
// win32 thread model, whose C++ library has no std::mutex or
// std::condition_variable, which GoogleTest's own Notification is built on.
// GoogleTest uses it only in its thread helpers; our tests start no thread.
// Force-included into every file that includes GoogleTest (cmake/windows.cmake).
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
