// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows back end: the window and its screen, XInput pads, waveOut sound, the clock, dialogs.
#include <windows.h>
// After windows.h, which declares its types.
#include <mmsystem.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "platform/desktop.h"
#include "platform/win32/pads.h"
#include "platform/win32/screen.h"
#include "platform/win32/wave_out.h"
#include "platform/win32/window.h"

namespace vane::platform {

namespace {

constexpr uint64_t kNanosPerSecond = 1'000'000'000;
// Windows 10 1803's high-resolution timers; MinGW's headers do not name the flag yet.
constexpr DWORD kHighResolutionTimer = 0x2;

bool isWholePicture(std::span<const Block> changed) {
  return changed.size() == 1 && changed[0].rows.first == 0 &&
         changed[0].rows.end == Backend::kHeight && changed[0].columns.first == 0 &&
         changed[0].columns.end == Backend::kWidth;
}

// Sizes in pixels of each monitor, not scaled by the system behind the program's back.
void becomeDpiAware() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  const auto setContext = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, where the system has it (Windows 10 1703 on).
  if (setContext != nullptr && setContext(reinterpret_cast<HANDLE>(-4)) != 0) return;
  SetProcessDPIAware();
}

// Ctrl+C, Ctrl+Break or the console closing asks the game to end, as closing its window does.
HWND consoleTarget = nullptr;
HANDLE consoleEnded = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event) {
  if (consoleTarget != nullptr) PostMessageW(consoleTarget, WM_CLOSE, 0, 0);
  // Past these the system ends the process as soon as the handler returns: give the game the
  // moment it needs to end by itself.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    WaitForSingleObject(consoleEnded, 4000);
  }
  return TRUE;
}

class Win32Backend : public DesktopBackend {
 public:
  explicit Win32Backend(const DisplayOptions& options) : options_(options), window_(options) {
    // The frame pacing sleeps to within a millisecond: the system's tick is made that fine.
    timeBeginPeriod(1);
    QueryPerformanceFrequency(&frequency_);
    // Waits to a fraction of a millisecond where the system has such timers (Windows 10 1803 on).
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
    consoleEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
  }

  ~Win32Backend() override {
    closeDisplay();
    closeAudio();
    closeWindow();
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    SetEvent(consoleEnded);
    if (timer_ != nullptr) CloseHandle(timer_);
    timeEndPeriod(1);
  }

  WindowState windowState() const override { return window_.state(); }
  void toggleWindowMode() override { window_.toggle(); }

  // --- window and screen ---

  bool openWindow() override {
    if (!window_.open()) return false;
    consoleTarget = window_.handle();
    window_.paint = [this](HDC dc) {
      if (screen_) screen_->paint(dc);
    };
    return true;
  }

  void closeWindow() override {
    consoleTarget = nullptr;
    window_.close();
  }

  bool openDisplay(bool& is565) override {
    if (window_.handle() == nullptr) return false;
    screen_ = std::make_unique<win32::Screen>(window_.handle(), options_.scale);
    pacer_.emplace(false);
    const std::vector<uint16_t> black(static_cast<size_t>(kWidth) * kHeight, 0);
    screen_->show(black.data(), {}, true);
    is565 = true;
    return true;
  }

  void closeDisplay() override {
    pacer_.reset();
    screen_.reset();
  }

  // A picture that has not changed is not sent at all, though the flip still takes its time.
  bool present(const uint16_t* pixels, std::span<const Block> changed) override {
    if (!screen_) return false;
    if (changed.empty()) {
      const uint64_t wait = pacer_->waitBeforeHold(now());
      if (wait != 0) sleep(wait);
      pacer_->held(now());
      return true;
    }
    const uint64_t wait = pacer_->waitBeforePresent(now());
    if (wait != 0) sleep(wait);
    if (!screen_->show(pixels, changed, isWholePicture(changed))) return false;
    pacer_->presented(now());
    return true;
  }

  // --- events ---

  bool pollEvent(Event& out) override {
    std::deque<Event>& events = window_.events();
    if (events.empty()) {
      pads_.update(now(), events);
      window_.pump();
    }
    return take(out);
  }

  bool waitEvent(Event& out) override {
    std::deque<Event>& events = window_.events();
    while (events.empty()) {
      if (window_.handle() == nullptr) return false;
      pads_.update(now(), events);
      window_.pump();
      if (!events.empty()) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, pads_.millisToUpdate(now()), QS_ALLINPUT);
    }
    return take(out);
  }

  // --- audio ---

  // waveOut rather than DirectSound: it streams the pulled mix with no COM objects and no
  // notification positions, is there on every Windows, and its four 1024-frame buffers are as
  // short a queue as SDL's on the other systems.
  bool openAudio(uint32_t rate, AudioPull pull, void* user, uint32_t& openedRate) override {
    if (!sound_.open(rate, pull, user, options_.verbose)) return false;
    openedRate = rate;
    return true;
  }

  void pauseAudio(bool paused) override { sound_.pause(paused); }
  void closeAudio() override { sound_.close(); }

  // --- clock and dialogs ---

  // The performance counter runs from the machine's start, so the tick count (the seed of a run)
  // does too.
  uint64_t now() override {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    const auto ticks = static_cast<uint64_t>(count.QuadPart);
    const auto perSecond = static_cast<uint64_t>(frequency_.QuadPart);
    return ticks / perSecond * kNanosPerSecond + ticks % perSecond * kNanosPerSecond / perSecond;
  }

  void sleep(uint64_t nanos) override {
    if (timer_ != nullptr) {
      LARGE_INTEGER due;
      due.QuadPart = -static_cast<LONGLONG>(nanos / 100);  // relative, in 100 ns steps
      if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) != 0) {
        WaitForSingleObject(timer_, INFINITE);
        return;
      }
    }
    // A whole millisecond at least: the pacer measures how late sleeps wake and keeps the rest.
    Sleep(static_cast<DWORD>((nanos + 999'999) / 1'000'000));
  }

  void messageBox(std::string_view text, std::string_view title, Icon icon) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
    const std::string titleText(title);
    const std::string bodyText(text);
    const UINT flags = MB_OK | (icon == Icon::Error ? MB_ICONERROR : 0);
    MessageBoxA(window_.handle(), bodyText.c_str(), titleText.c_str(), flags);
  }

 private:
  bool take(Event& out) {
    std::deque<Event>& events = window_.events();
    if (events.empty()) return false;
    out = events.front();
    events.pop_front();
    return true;
  }

  DisplayOptions options_;
  win32::Window window_;
  std::unique_ptr<win32::Screen> screen_;
  std::optional<FlipPacer> pacer_;
  win32::Pads pads_;
  win32::WaveOut sound_;
  LARGE_INTEGER frequency_{};
  HANDLE timer_ = nullptr;
};

}  // namespace

std::unique_ptr<DesktopBackend> makeDesktopBackend(const DisplayOptions& options) {
  becomeDpiAware();
  return std::make_unique<Win32Backend>(options);
}

}  // namespace vane::platform
