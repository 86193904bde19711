// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's back end: the page's events in, its clock, and the functions the page calls.
#include "platform/web/web_backend.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/pad.h"

namespace vane::platform {

namespace {

WebBackend* theBackend = nullptr;

// The game's stage frame: a clock that lags the page's by more than this has stalled.
constexpr uint64_t kFrameNanos = 25'000'000;
// Each clock query moves time on by a microsecond, so a loop that polls the clock always ends.
constexpr uint64_t kQueryStepNanos = 1'000;
constexpr uint64_t kFnvBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

uint64_t pageNanos() {
  return static_cast<uint64_t>(emscripten_get_now() * 1e6);
}

EM_JS(void, showDialog, (const char* text, const char* title),
      { Module.page.dialog(UTF8ToString(title), UTF8ToString(text)); });

}  // namespace

WebBackend::WebBackend()
    : front_(static_cast<size_t>(kWidth) * kHeight, 0),
      rgba_(static_cast<size_t>(kWidth) * kHeight, 0xFF000000u),
      clock_(pageNanos()) {
  theBackend = this;
}

WebBackend::~WebBackend() {
  theBackend = nullptr;
}

WebBackend* WebBackend::current() {
  return theBackend;
}

// The clock the game sees moves on with its sleeps, so that each stage frame lasts exactly 25 ms
// on it whichever animation frame it starts in; it follows the page's own clock only after a
// stall. That keeps 40 stage frames a second on a display of any refresh rate.
bool WebBackend::frameDue() {
  const uint64_t page = pageNanos();
  if (page < clock_) return false;
  if (page - clock_ > kFrameNanos) clock_ = page;
  return true;
}

uint64_t WebBackend::now() {
  clock_ += kQueryStepNanos;
  return clock_;
}

void WebBackend::sleep(uint64_t nanos) {
  clock_ += nanos;
}

uint64_t WebBackend::screenHash() const {
  uint64_t h = kFnvBasis;
  for (uint16_t w : front_) {
    for (uint8_t byte : {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(w >> 8)}) {
      h ^= byte;
      h *= kFnvPrime;
    }
  }
  return h;
}

bool WebBackend::openWindow() {
  return true;
}

bool WebBackend::pollEvent(Event& out) {
  if (events_.empty()) return false;
  out = events_.front();
  events_.pop_front();
  return true;
}

void WebBackend::keyDown(const std::string& code, bool repeat, bool altHeld) {
  Event down;
  down.kind = Event::Kind::KeyDown;
  down.key = physicalKeyFor(code);
  down.virtualKey = virtualKeyFor(code);
  down.repeat = repeat;
  // Alt, F10 and whatever is pressed with Alt are the system's keys: held, but no message.
  down.message = !altHeld && code != "AltLeft" && code != "AltRight" && code != "F10";
  if (down.virtualKey != 0) push(down);
}

void WebBackend::keyUp(const std::string& code) {
  Event up;
  up.kind = Event::Kind::KeyUp;
  up.key = physicalKeyFor(code);
  if (up.key != 0) push(up);
}

void WebBackend::focus(bool focused) {
  Event event;
  event.kind = Event::Kind::Focus;
  event.focused = focused;
  push(event);
}

void WebBackend::exposed() {
  Event event;
  event.kind = Event::Kind::Exposed;
  push(event);
}

void WebBackend::messageBox(std::string_view text, std::string_view title, Icon) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
               static_cast<int>(text.size()), text.data());
  const std::string t(title);
  const std::string s(text);
  showDialog(s.c_str(), t.c_str());
}

std::unique_ptr<DesktopBackend> makeDesktopBackend(const DisplayOptions&) {
  return std::make_unique<WebBackend>();
}

void prepareDesktopProgram() {}

}  // namespace vane::platform

// What the page calls (page.js): its events, and the audio output's pull.
extern "C" {

EMSCRIPTEN_KEEPALIVE void vane_key(int down, const char* code, int repeat, int altHeld) {
  auto* backend = vane::platform::WebBackend::current();
  if (backend == nullptr) return;
  if (down != 0) {
    backend->keyDown(code, repeat != 0, altHeld != 0);
  } else {
    backend->keyUp(code);
  }
}

EMSCRIPTEN_KEEPALIVE void vane_focus(int focused) {
  if (auto* backend = vane::platform::WebBackend::current()) backend->focus(focused != 0);
}

EMSCRIPTEN_KEEPALIVE void vane_exposed() {
  if (auto* backend = vane::platform::WebBackend::current()) backend->exposed();
}

EMSCRIPTEN_KEEPALIVE void vane_pad(int slot, unsigned buttons, float x, float y) {
  if (auto* backend = vane::platform::WebBackend::current()) backend->padState(slot, buttons, x, y);
}

EMSCRIPTEN_KEEPALIVE void vane_pad_gone(int slot) {
  if (auto* backend = vane::platform::WebBackend::current()) backend->padGone(slot);
}

EMSCRIPTEN_KEEPALIVE const int16_t* vane_audio_pull(int frames) {
  auto* backend = vane::platform::WebBackend::current();
  return backend == nullptr ? nullptr : backend->pullAudio(static_cast<size_t>(frames));
}

}  // extern "C"
