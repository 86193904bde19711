// SPDX-License-Identifier: GPL-3.0-or-later
// The game's window: its messages with their numbers, the queue, and the window procedure.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vane::host {

// Window messages, numbered as the game's window procedure expects them.
enum MessageId : uint32_t {
  kWmCreate = 0x0001,
  kWmDestroy = 0x0002,
  kWmClose = 0x0010,
  kWmQuit = 0x0012,
  kWmActivateApp = 0x001C,
  kWmSetCursor = 0x0020,
  kWmKeyDown = 0x0100,
};

struct Message {
  uint32_t id = 0;
  uint32_t wParam = 0;
  int32_t lParam = 0;
};

// The game's window procedure: returns the message result. For "default processing" it calls
// defWindowProc itself and returns that result.
using WindowProc = int32_t (*)(const Message&);

// Makes `proc` the procedure that receives the window's messages.
bool registerWindowClass(WindowProc proc);
// Creates and shows the window; WM_CREATE reaches the procedure before this returns, and an
// activation waits in the queue, as a desktop does with a new full-screen window.
bool createWindow();
// Destroys the window and its display; WM_DESTROY reaches the procedure before this returns.
void destroyWindow();
bool windowExists();

// Messages, first in first out. Looks at the next one without removing it (false when the queue
// is empty), after taking in what the system has sent.
bool peekMessage(Message& out);
// Removes and returns the next message, waiting for one if the queue is empty.
Message getMessage();
// Blocks until a message is waiting. When the system can deliver no more events, a close is
// queued, so the program ends as if its window had been closed.
void waitMessage();
void postMessage(const Message& message);
int32_t dispatchMessage(const Message& message);
// What the system does with a message the game leaves to it: a close destroys the window.
int32_t defWindowProc(const Message& message);
// Posts the quit message that ends the main loop.
void postQuitMessage(int exitCode);

// Sees each key event before the game: true keeps it from the game (the program's own keys,
// and every key while its menu is open). nullptr for none.
using KeyFilter = bool (*)(const platform::Event& event);
void setKeyFilter(KeyFilter filter);
// A message the window procedure leaves alone, to end a wait for messages.
constexpr uint32_t kWmNull = 0x0000;

}  // namespace vane::host
