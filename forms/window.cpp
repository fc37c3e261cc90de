#include "forms/window.h"

namespace forms {

Window::~Window() { Destroy(); }

bool Window::Create(const CreateOptions& options) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!::GetClassInfoExW(instance, options.className, &existing)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Window::Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = options.icon;
    windowClass.hIconSm = options.icon;
    windowClass.hCursor = options.cursor ? options.cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = options.background;
    windowClass.lpszClassName = options.className;
    if (!::RegisterClassExW(&windowClass)) return false;
  }
  window_ = ::CreateWindowExW(options.extendedStyle, options.className, options.caption.c_str(), options.style,
                              options.left, options.top, options.width, options.height, options.parent, nullptr,
                              instance, this);
  return window_ != nullptr;
}

void Window::Destroy() {
  if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
  window_ = nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandling(message, wParam, lParam);
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return result;
}

}  // namespace forms
