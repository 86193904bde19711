// SPDX-License-Identifier: GPL-3.0-or-later
// The key tap: notes key-down messages as they are taken, and filters the keyboard of a replay.
#include "shell/key_tap.h"

namespace vane {

using platform::Message;

std::vector<int> KeyTap::takeKeyDowns() {
  std::vector<int> taken;
  taken.swap(keyDowns_);
  return taken;
}

HeldKeys KeyTap::heldKeys() {
  HeldKeys held{};
  for (int k = 1; k < 256; ++k) held[static_cast<size_t>(k)] = keyHeld(k);
  return held;
}

bool KeyTap::dropped(const Message& message) const {
  return replacing_ && message.id == platform::kWmKeyDown &&
         message.wParam != static_cast<uint32_t>(platform::kVkEscape);
}

void KeyTap::sendKeyDown(int virtualKey) {
  replayed_.push_back(Message{platform::kWmKeyDown, static_cast<uint32_t>(virtualKey), 0});
}

bool KeyTap::peekMessage(Message& out) {
  if (!replayed_.empty()) {
    out = replayed_.front();
    return true;
  }
  while (inner_.peekMessage(out)) {
    if (!dropped(out)) return true;
    inner_.getMessage();
  }
  return false;
}

Message KeyTap::getMessage() {
  if (!replayed_.empty()) {
    const Message message = replayed_.front();
    replayed_.pop_front();
    return message;
  }
  for (;;) {
    const Message message = inner_.getMessage();
    if (dropped(message)) continue;
    if (message.id == platform::kWmKeyDown) keyDowns_.push_back(static_cast<int>(message.wParam));
    return message;
  }
}

void KeyTap::waitMessage() {
  Message next;
  if (!replayed_.empty()) return;
  do {
    inner_.waitMessage();
  } while (!peekMessage(next));
}

bool KeyTap::keyHeld(int virtualKey) {
  if (!replacing_) return inner_.keyHeld(virtualKey);
  return virtualKey >= 0 && virtualKey < 256 && held_[static_cast<size_t>(virtualKey)];
}

}  // namespace vane
