// A plain window of the test process that stands in for the host's preview pane, or for the
// window of another running instance, and a message pump to wait with.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace testbed {

class HostWindow {
 public:
  // A white, frameless top-level window; hidden unless visible.
  HostWindow(const std::wstring& caption, int left, int top, int width, int height, bool visible = true)
      : window_(::CreateWindowExW(0, L"STATIC", caption.c_str(),
                                  WS_POPUP | WS_CLIPCHILDREN | SS_WHITERECT | (visible ? WS_VISIBLE : 0), left, top,
                                  width, height, nullptr, nullptr, nullptr, nullptr)) {}
  ~HostWindow() { Destroy(); }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND get() const { return window_; }
  void Destroy() {
    if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
    window_ = nullptr;
  }
  // The handle in decimal, as the host writes it after "/p".
  std::wstring HandleText() const {
    return std::to_wstring(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window_)));
  }

 private:
  HWND window_ = nullptr;
};

// Dispatches this thread's messages until done() holds or the time is up; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) return true;
    if (::GetTickCount() - start >= milliseconds) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// The child of parent, or with no parent the top-level window, with this caption that belongs to
// processId; nullptr when there is none.
inline HWND FindChildOfProcess(HWND parent, DWORD processId, const wchar_t* caption) {
  for (HWND child = ::FindWindowExW(parent, nullptr, nullptr, caption); child;
       child = ::FindWindowExW(parent, child, nullptr, caption)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(child, &owner);
    if (owner == processId) return child;
  }
  return nullptr;
}

}  // namespace testbed
