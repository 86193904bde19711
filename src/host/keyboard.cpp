// SPDX-License-Identifier: GPL-3.0-or-later
// Held keys by physical key, so two keys of one code are held apart; the key-down messages.
#include "host/keyboard.h"

#include <array>
#include <cstring>

#include "host/internal.h"
#include "host/key_map.h"
#include "host/messages.h"
#include "host/pad_bindings.h"
#include "platform/pad.h"
#include "platform/platform.h"

namespace vane::host {

namespace {

using platform::Event;

// Keys a script plays stand after every physical key, one for each virtual key.
constexpr int kScriptedBase = platform::kPhysicalKeys;
constexpr int kKeys = kScriptedBase + 256;

struct Keyboard {
  // The virtual key each held key went down as; 0 while it is up.
  std::array<uint8_t, kKeys> downAs{};
  // How many held keys share a virtual key (both Shift keys are 16).
  std::array<uint8_t, 256> heldCount{};
  std::array<uint8_t, 256> threadState{};
  bool takenOver = false;
  KeyListener listener = nullptr;
  void* listenerUser = nullptr;
};
Keyboard keyboard;

void press(int key, int virtualKey) {
  if (key < 0 || key >= kKeys || virtualKey <= 0 || virtualKey > 255) return;
  auto& downAs = keyboard.downAs[static_cast<size_t>(key)];
  if (downAs != 0) return;
  const auto vk = static_cast<size_t>(virtualKey);
  downAs = static_cast<uint8_t>(virtualKey);
  ++keyboard.heldCount[vk];
  keyboard.threadState[vk] = static_cast<uint8_t>(0x80 | ((keyboard.threadState[vk] & 1) ^ 1));
}

void release(int key) {
  if (key < 0 || key >= kKeys) return;
  auto& downAs = keyboard.downAs[static_cast<size_t>(key)];
  if (downAs == 0) return;
  const size_t vk = downAs;
  downAs = 0;
  if (--keyboard.heldCount[vk] == 0) keyboard.threadState[vk] &= 1;
}

void keyDown(int key, int virtualKey, bool message) {
  if (virtualKey <= 0 || virtualKey > 255) return;
  press(key, virtualKey);
  if (message) postMessage(Message{kWmKeyDown, static_cast<uint32_t>(virtualKey), 0});
}

// A controller's control sends the key its binding names.
int boundKey(uint8_t control) {
  if (control >= platform::kPadControlCount) return 0;
  return padBindings()[control];
}

}  // namespace

bool keyHeld(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return false;
  return keyboard.heldCount[static_cast<size_t>(virtualKey)] != 0;
}

void getKeyboardState(uint8_t state[256]) {
  std::memcpy(state, keyboard.threadState.data(), keyboard.threadState.size());
}

void setKeyboardState(const uint8_t state[256]) {
  std::memcpy(keyboard.threadState.data(), state, keyboard.threadState.size());
}

// A key held already gets one more message, as a key repeat does.
void scriptKeyDown(int virtualKey) {
  keyDown(kScriptedBase + (virtualKey & 0xFF), virtualKey, true);
}

void scriptKeyHold(int virtualKey) {
  keyDown(kScriptedBase + (virtualKey & 0xFF), virtualKey, false);
}

void scriptKeyUp(int virtualKey) {
  release(kScriptedBase + (virtualKey & 0xFF));
}

void takeOverKeyboard() {
  keyboard.takenOver = true;
}

void listenToTakenKeys(KeyListener listener, void* user) {
  keyboard.listener = listener;
  keyboard.listenerUser = user;
}

void giveBackKeyboard() {
  keyboard.takenOver = false;
  for (int key = kScriptedBase; key < kKeys; ++key) release(key);
}

void internal::takeKey(const Event& event) {
  const int virtualKey = event.fromPad ? boundKey(event.control) : mappedKey(event.virtualKey);
  // Taken over by a script, the player can still leave with Escape.
  if (keyboard.takenOver && (event.fromPad || virtualKey != kVkEscape)) {
    const bool press = event.kind == Event::Kind::KeyDown && !event.fromPad && virtualKey > 0;
    if (press && keyboard.listener != nullptr) {
      keyboard.listener(keyboard.listenerUser, virtualKey, event.repeat);
    }
    return;
  }
  if (event.kind == Event::Kind::KeyUp) {
    release(event.key);
  } else {
    keyDown(event.key, virtualKey, event.message);
  }
}

void internal::releaseAllKeys() {
  for (int key = 0; key < kScriptedBase; ++key) release(key);
}

void internal::resetKeyboard() {
  keyboard = Keyboard{};
  resetKeyMap();
}

}  // namespace vane::host
