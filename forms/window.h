// Base of the program's windows: the window procedure only finds the object and hands it the
// message; each form overrides HandleMessage and keeps its state in members.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND handle() const { return window_; }

 protected:
  struct CreateOptions {
    const wchar_t* className = nullptr;
    std::wstring caption;
    DWORD style = WS_POPUP;
    DWORD extendedStyle = 0;
    int left = 0, top = 0, width = 0, height = 0;
    HWND parent = nullptr;
    HBRUSH background = nullptr;  // not owned; a stock brush or nullptr
    HICON icon = nullptr;         // not owned
    HCURSOR cursor = nullptr;     // not owned; nullptr gives the arrow
  };
  // Registers the class on first use and creates the window. Returns false when either fails.
  bool Create(const CreateOptions& options);
  // Destroys the window if it still exists.
  void Destroy();

  // Every message of the window arrives here; unhandled ones go to DefaultHandling.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};

}  // namespace forms
