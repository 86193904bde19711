// SPDX-License-Identifier: GPL-3.0-or-later
// The platform core: the message queue, the back buffer and its text, and message dispatch.
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/text.h"

namespace vane::platform {
namespace {
Backend* current = nullptr;
WindowProc windowProcedure = nullptr;

constexpr uint64_t kNanosPerMilli = 1'000'000;
constexpr int kPitch = Backend::kWidth * 2;
constexpr uint32_t kGreenMask565 = 0x07E0;
constexpr uint32_t kGreenMask555 = 0x03E0;
uint64_t lastStamp = 0;
}  // namespace

Backend::Backend() = default;
Backend::~Backend() = default;

bool Backend::registerWindowClass(WindowProc proc) {
  if (refuses(Step::RegisterClass)) return false;
  setWindowProc(proc);
  return true;
}

bool Backend::createWindow() {
  if (!openWindow()) return false;
  windowAlive_ = true;
  dispatchMessage(Message{kWmCreate, 0, 0});
  postMessage(Message{kWmActivateApp, 1, 0});
  return true;
}

void Backend::destroyWindow() {
  if (!windowAlive_) return;
  windowAlive_ = false;
  dispatchMessage(Message{kWmDestroy, 0, 0});
  releaseDisplay();
  closeWindow();
}

bool Backend::peekMessage(Message& out) {
  pollEvents();
  if (queue_.empty()) return false;
  out = queue_.front();
  return true;
}

Message Backend::getMessage() {
  waitMessage();
  const Message m = queue_.front();
  queue_.pop_front();
  return m;
}

void Backend::waitMessage() {
  pollEvents();
  while (queue_.empty()) {
    if (!waitForEvents()) postMessage(Message{kWmClose, 0, 0});
  }
}

void Backend::postMessage(const Message& message) {
  queue_.push_back(message);
}

uint32_t Backend::tickCount() {
  return static_cast<uint32_t>(monotonicNanos() / kNanosPerMilli);
}

bool Backend::createDisplay() {
  bool is565 = true;
  if (!openDisplay(is565)) return false;
  is565_ = is565;
  back_.assign(static_cast<size_t>(kWidth) * kHeight, 0);
  stampBackBuffer();
  presentedStamp_ = 0;
  displayReady_ = true;
  return true;
}

bool Backend::readGreenMask(uint32_t& greenMask) {
  if (!displayReady_ || refuses(Step::ReadPixelFormat)) return false;
  greenMask = is565_ ? kGreenMask565 : kGreenMask555;
  return true;
}

bool Backend::fill(uint16_t colour) {
  if (!displayReady_) return false;
  stampBackBuffer();
  // Every screen clears to black each frame: a byte fill, many times quicker than one of words.
  if ((colour >> 8) == (colour & 0xFF)) {
    std::memset(back_.data(), colour & 0xFF, back_.size() * sizeof(uint16_t));
  } else {
    std::fill(back_.begin(), back_.end(), colour);
  }
  return true;
}

bool Backend::describeBackBuffer() {
  return displayReady_ && !refuses(Step::Describe);
}

bool Backend::lock(LockedSurface& out) {
  if (!displayReady_ || refuses(Step::Lock)) return false;
  stampBackBuffer();
  out = LockedSurface{back_.data(), kWidth, kHeight, kPitch};
  return true;
}

bool Backend::unlock() {
  return displayReady_ && !refuses(Step::Unlock);
}

TextContext* Backend::getTextContext() {
  if (!displayReady_) return nullptr;
  stampBackBuffer();
  // Made on first use, so a run that writes no text never opens the font.
  if (!text_) text_ = makeTextContext(back_.data(), kWidth, kHeight, kPitch, is565_);
  return text_.get();
}

bool Backend::flip() {
  if (!displayReady_) return false;
  if (backStamp_ == presentedStamp_) return presentAgain();
  if (!present(back_.data())) return false;
  presentedStamp_ = backStamp_;
  return true;
}

void Backend::stampBackBuffer() {
  backStamp_ = ++lastStamp;
}

void Backend::releaseDisplay() {
  if (!displayReady_) return;
  displayReady_ = false;
  text_.reset();
  back_ = {};
  closeDisplay();
}

Backend& backend() {
  if (current == nullptr) {
    std::fputs("vane: no platform back end set\n", stderr);
    std::abort();
  }
  return *current;
}

void setBackend(Backend* b) {
  current = b;
}

void setWindowProc(WindowProc proc) {
  windowProcedure = proc;
}

int32_t dispatchMessage(const Message& message) {
  if (windowProcedure == nullptr) return defWindowProc(message);
  return windowProcedure(message);
}

int32_t defWindowProc(const Message& message) {
  if (message.id == kWmClose && backend().windowExists()) backend().destroyWindow();
  return 0;
}

void postQuitMessage(int exitCode) {
  backend().postMessage(Message{kWmQuit, static_cast<uint32_t>(exitCode), 0});
}

}  // namespace vane::platform
