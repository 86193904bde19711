// SPDX-License-Identifier: GPL-3.0-or-later
// The window's class, procedure and modes: full screen covers its monitor without a border.
#include "platform/win32/window.h"

#include <algorithm>
#include <cstdio>

#include "platform/win32/keys.h"

namespace vane::platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VaneWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kFullscreenStyle = WS_POPUP;
// The icon the resource file gives the program (packaging/windows/vane.rc).
constexpr int kIconResource = 1;

// Functions of newer systems, looked up so that the program still starts on older ones.
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using DpiForWindow = UINT(WINAPI*)(HWND);

template <typename Function>
Function userFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// What the frame of a window of `style` adds around its inside, at the window's DPI.
Decorations decorationsFor(HWND window, DWORD style) {
  RECT r{0, 0, 0, 0};
  static const auto adjust = userFunction<AdjustForDpi>("AdjustWindowRectExForDpi");
  static const auto dpiOf = userFunction<DpiForWindow>("GetDpiForWindow");
  if (adjust != nullptr && dpiOf != nullptr && window != nullptr) {
    adjust(&r, style, FALSE, 0, dpiOf(window));
  } else {
    AdjustWindowRectEx(&r, style, FALSE, 0);
  }
  return Decorations{-r.top, -r.left, r.bottom, r.right};
}

MONITORINFO monitorOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  const HMONITOR monitor = window != nullptr
                               ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                               : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  GetMonitorInfoW(monitor, &info);
  return info;
}

PictureRect rectOf(const RECT& r) {
  return PictureRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool registerClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.style = CS_HREDRAW | CS_VREDRAW;
  c.lpfnWndProc = DefWindowProcW;  // replaced per window by the procedure below
  c.hInstance = GetModuleHandleW(nullptr);
  c.hIcon = LoadIconW(c.hInstance, MAKEINTRESOURCEW(kIconResource));
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.hbrBackground = nullptr;  // the picture's own borders are black; nothing to erase
  c.lpszClassName = kClassName;
  registered = RegisterClassExW(&c) != 0;
  return registered;
}

bool keyIsDown(int vk) {
  return (GetKeyState(vk) & 0x8000) != 0;
}

}  // namespace

Window::Window(const DisplayOptions& options)
    : mode_(options.windowMode),
      windowSize_{std::max(options.windowWidth, 0), std::max(options.windowHeight, 0)} {
  if (windowSize_.width == 0 || windowSize_.height == 0) {
    windowSize_ = WindowSize{};
  } else {
    windowSize_.width = std::clamp(windowSize_.width, kSmallestWindowWidth, kLargestWindowSide);
    windowSize_.height = std::clamp(windowSize_.height, kSmallestWindowHeight, kLargestWindowSide);
  }
}

Window::~Window() {
  close();
}

bool Window::open() {
  if (!registerClass()) {
    std::fprintf(stderr, "vane: cannot register the window class (error %lu)\n", GetLastError());
    return false;
  }
  const DWORD style = mode_ == WindowMode::Fullscreen ? kFullscreenStyle : kWindowStyle;
  window_ =
      CreateWindowExW(0, kClassName, L"VANE", style, CW_USEDEFAULT, CW_USEDEFAULT, kPictureWidth,
                      kPictureHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) {
    std::fprintf(stderr, "vane: cannot open the window (error %lu)\n", GetLastError());
    return false;
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::procedure));
  if (mode_ == WindowMode::Fullscreen) {
    enterFullscreen();
  } else {
    placeAsWindow();
  }
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  return true;
}

void Window::close() {
  if (window_ == nullptr) return;
  windowSize_ = WindowSize{state().width, state().height};
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
  window_ = nullptr;
}

void Window::toggle() {
  if (window_ == nullptr) return;
  if (mode_ == WindowMode::Fullscreen) {
    enterWindow();
  } else {
    enterFullscreen();
  }
}

void Window::enterFullscreen() {
  if (mode_ == WindowMode::Window && !IsZoomed(window_)) {
    // The size the player gave the window is where it goes back to.
    RECT inside{};
    GetClientRect(window_, &inside);
    windowSize_ = WindowSize{inside.right, inside.bottom};
  }
  mode_ = WindowMode::Fullscreen;
  const PictureRect screen = rectOf(monitorOf(window_).rcMonitor);
  SetWindowLongPtrW(window_, GWL_STYLE, kFullscreenStyle | WS_VISIBLE);
  SetWindowPos(window_, HWND_TOP, screen.x, screen.y, screen.width, screen.height,
               SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

void Window::enterWindow() {
  mode_ = WindowMode::Window;
  SetWindowLongPtrW(window_, GWL_STYLE, kWindowStyle | WS_VISIBLE);
  placeAsWindow();
}

// Sizes and places the window so that it and its frame fit wholly in the monitor's work area.
void Window::placeAsWindow() {
  const Decorations d = decorations();
  const PictureRect place = placeWindow(windowSize(), rectOf(monitorOf(window_).rcWork), d);
  windowSize_ = WindowSize{place.width, place.height};
  SetWindowPos(window_, HWND_TOP, place.x - d.left, place.y - d.top, place.width + d.left + d.right,
               place.height + d.top + d.bottom, SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

Decorations Window::decorations() const {
  return decorationsFor(window_, kWindowStyle);
}

WindowSize Window::windowSize() const {
  if (windowSize_.width > 0) return windowSize_;
  const PictureRect usable = rectOf(monitorOf(window_).rcWork);
  return firstWindowSize(usable.width, usable.height, kPictureWidth, kPictureHeight);
}

// The size as a window, no larger than fits with its frame on the monitor the window is on.
WindowState Window::state() const {
  WindowSize size = windowSize_;
  if (window_ == nullptr) return WindowState{mode_, size.width, size.height};
  if (mode_ == WindowMode::Window && !IsZoomed(window_) && !IsIconic(window_)) {
    RECT inside{};
    GetClientRect(window_, &inside);
    size = WindowSize{inside.right, inside.bottom};
  }
  if (size.width <= 0 || size.height <= 0) return WindowState{mode_, size.width, size.height};
  const PictureRect fitted = placeWindow(size, rectOf(monitorOf(window_).rcWork), decorations());
  return WindowState{mode_, fitted.width, fitted.height};
}

void Window::pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
    // No TranslateMessage: the game reads keys, not characters, and so no WM_SYSCHAR beeps.
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

void Window::emit(Event::Kind kind, bool focused) {
  Event event;
  event.kind = kind;
  event.focused = focused;
  events_.push_back(event);
}

LRESULT Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      onKeyDown(wParam, lParam);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      Event up;
      up.kind = Event::Kind::KeyUp;
      up.key = physicalKey(strokeOf(wParam, lParam));
      events_.push_back(up);
      return 0;
    }
    case WM_SETFOCUS:
      emit(Event::Kind::Focus, true);
      return 0;
    case WM_KILLFOCUS:
      emit(Event::Kind::Focus, false);
      return 0;
    case WM_CLOSE:
      // The game decides: it ends, and destroys the window, on the Close event.
      emit(Event::Kind::Close);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(window_, &ps);
      if (paint) paint(dc);
      EndPaint(window_, &ps);
      emit(Event::Kind::Exposed);
      return 0;
    }
    case WM_SIZE:
      emit(Event::Kind::Exposed);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      // The pointer has nothing to do in the game; over a window it stays, as on any other.
      if (mode_ == WindowMode::Fullscreen && LOWORD(lParam) == HTCLIENT) {
        SetCursor(nullptr);
        return TRUE;
      }
      break;
    case WM_GETMINMAXINFO: {
      const Decorations d = decorations();
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize.x = kSmallestWindowWidth + d.left + d.right;
      limits->ptMinTrackSize.y = kSmallestWindowHeight + d.top + d.bottom;
      return 0;
    }
    case WM_DPICHANGED: {
      // Moved onto a monitor of another scale: the system suggests the window's new place.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      if (mode_ == WindowMode::Window) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    }
    case WM_DISPLAYCHANGE:
      if (mode_ == WindowMode::Fullscreen) enterFullscreen();
      return 0;
    case WM_SYSCOMMAND:
      // F10 and a lone Alt would open the window menu and hold the game still.
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Window::onKeyDown(WPARAM wParam, LPARAM lParam) {
  const KeyStroke key = strokeOf(wParam, lParam);
  const bool repeat = (lParam & (LPARAM{1} << 30)) != 0;
  const KeyRoute route = routeKey(key, keyIsDown(VK_MENU), keyIsDown(VK_CONTROL));
  if (route == KeyRoute::ToggleWindow) {
    // A key held down switches once.
    if (!repeat) toggle();
    return;
  }
  if (route == KeyRoute::Close) {
    emit(Event::Kind::Close);
    return;
  }
  Event down;
  down.kind = Event::Kind::KeyDown;
  down.key = physicalKey(key);
  down.virtualKey = gameVirtualKey(key);
  down.repeat = repeat;
  down.message = route == KeyRoute::Game;
  if (down.virtualKey != 0) events_.push_back(down);
}

}  // namespace vane::platform::win32
