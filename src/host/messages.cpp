// SPDX-License-Identifier: GPL-3.0-or-later
// The message queue, filled from the system's events, and the window procedure's dispatch.
#include "host/messages.h"

#include <deque>

#include "host/display.h"
#include "host/host.h"
#include "host/internal.h"
#include "platform/platform.h"

namespace vane::host {

namespace {

using platform::Event;

WindowProc windowProcedure = nullptr;
bool windowAlive = false;
std::deque<Message> queue;
KeyFilter keyFilter = nullptr;

void take(const Event& event) {
  switch (event.kind) {
    case Event::Kind::KeyDown:
    case Event::Kind::KeyUp:
      if (keyFilter != nullptr && keyFilter(event)) break;
      internal::takeKey(event);
      break;
    case Event::Kind::Focus:
      if (!event.focused) internal::releaseAllKeys();
      internal::setSoundActive(event.focused);
      postMessage(Message{kWmActivateApp, event.focused ? 1u : 0u, 0});
      break;
    case Event::Kind::Close:
      postMessage(Message{kWmClose, 0, 0});
      break;
    case Event::Kind::Exposed:
      internal::redrawScreen();
      break;
  }
}

void takeEvents() {
  Event event;
  while (platform::backend().pollEvent(event)) take(event);
}

}  // namespace

bool registerWindowClass(WindowProc proc) {
  if (faults().registerClass) return false;
  windowProcedure = proc;
  return true;
}

bool createWindow() {
  if (!platform::backend().openWindow()) return false;
  windowAlive = true;
  dispatchMessage(Message{kWmCreate, 0, 0});
  postMessage(Message{kWmActivateApp, 1, 0});
  return true;
}

void destroyWindow() {
  if (!windowAlive) return;
  windowAlive = false;
  dispatchMessage(Message{kWmDestroy, 0, 0});
  releaseDisplay();
  platform::backend().closeWindow();
}

bool windowExists() {
  return windowAlive;
}

bool peekMessage(Message& out) {
  takeEvents();
  if (queue.empty()) return false;
  out = queue.front();
  return true;
}

Message getMessage() {
  waitMessage();
  const Message m = queue.front();
  queue.pop_front();
  return m;
}

void waitMessage() {
  takeEvents();
  while (queue.empty()) {
    Event event;
    if (platform::backend().waitEvent(event)) {
      take(event);
    } else {
      postMessage(Message{kWmClose, 0, 0});
    }
  }
}

void postMessage(const Message& message) {
  queue.push_back(message);
}

int32_t dispatchMessage(const Message& message) {
  if (windowProcedure == nullptr) return defWindowProc(message);
  return windowProcedure(message);
}

int32_t defWindowProc(const Message& message) {
  if (message.id == kWmClose && windowAlive) destroyWindow();
  return 0;
}

void postQuitMessage(int exitCode) {
  postMessage(Message{kWmQuit, static_cast<uint32_t>(exitCode), 0});
}

void setKeyFilter(KeyFilter filter) {
  keyFilter = filter;
}

void internal::resetMessages() {
  keyFilter = nullptr;
  windowProcedure = nullptr;
  windowAlive = false;
  queue.clear();
}

}  // namespace vane::host
