// SPDX-License-Identifier: GPL-3.0-or-later
// The page's keys: KeyboardEvent.code, the key's place on the keyboard, to virtual-key codes.
#include <array>
#include <string_view>

#include "platform/web/web_backend.h"

namespace vane::platform {

namespace {

struct KeyCode {
  std::string_view code;
  int virtualKey;
};

// Every key with a code but the letters, the digits and the function keys, which follow below.
constexpr KeyCode kKeys[] = {
    {"Numpad0", 96},
    {"Numpad1", 97},
    {"Numpad2", 98},
    {"Numpad3", 99},
    {"Numpad4", 100},
    {"Numpad5", 101},
    {"Numpad6", 102},
    {"Numpad7", 103},
    {"Numpad8", 104},
    {"Numpad9", 105},
    {"NumpadMultiply", 106},
    {"NumpadAdd", 107},
    {"NumpadSubtract", 109},
    {"NumpadDecimal", 110},
    {"NumpadDivide", 111},
    {"NumpadEnter", 13},
    {"Backspace", 8},
    {"Tab", 9},
    {"Enter", 13},
    {"ShiftLeft", 16},
    {"ShiftRight", 16},
    {"ControlLeft", 17},
    {"ControlRight", 17},
    {"AltLeft", 18},
    {"AltRight", 18},
    {"Pause", 19},
    {"CapsLock", 20},
    {"Escape", 27},
    {"Space", 32},
    {"PageUp", 33},
    {"PageDown", 34},
    {"End", 35},
    {"Home", 36},
    {"ArrowLeft", 37},
    {"ArrowUp", 38},
    {"ArrowRight", 39},
    {"ArrowDown", 40},
    {"PrintScreen", 44},
    {"Insert", 45},
    {"Delete", 46},
    {"MetaLeft", 91},
    {"MetaRight", 92},
    {"ContextMenu", 93},
    {"NumLock", 144},
    {"ScrollLock", 145},
    {"Semicolon", 186},
    {"Equal", 187},
    {"Comma", 188},
    {"Minus", 189},
    {"Period", 190},
    {"Slash", 191},
    {"Backquote", 192},
    {"BracketLeft", 219},
    {"Backslash", 220},
    {"BracketRight", 221},
    {"Quote", 222},
    {"IntlBackslash", 226},
};
constexpr int kTableKeys = static_cast<int>(std::size(kKeys));
// Physical keys: the table's rows from 1, then the letters, the digits, F1 to F12.
constexpr int kFirstLetter = kTableKeys + 1;
constexpr int kFirstDigit = kFirstLetter + 26;
constexpr int kFirstFunction = kFirstDigit + 10;

// The number after `prefix` in `code` ("F11" -> 11), or -1.
int numberAfter(std::string_view code, std::string_view prefix) {
  if (!code.starts_with(prefix) || code.size() == prefix.size() || code.size() > prefix.size() + 2)
    return -1;
  int n = 0;
  for (char c : code.substr(prefix.size())) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

int physicalKeyFor(const std::string& code) {
  for (int i = 0; i < kTableKeys; ++i) {
    if (kKeys[i].code == code) return i + 1;
  }
  if (code.size() == 4 && code.starts_with("Key") && code[3] >= 'A' && code[3] <= 'Z')
    return kFirstLetter + (code[3] - 'A');
  if (code.size() == 6 && code.starts_with("Digit") && code[5] >= '0' && code[5] <= '9')
    return kFirstDigit + (code[5] - '0');
  if (const int f = numberAfter(code, "F"); f >= 1 && f <= 12) return kFirstFunction + f - 1;
  return 0;
}

int virtualKeyFor(const std::string& code) {
  const int key = physicalKeyFor(code);
  if (key == 0) return 0;
  if (key < kFirstLetter) return kKeys[key - 1].virtualKey;
  if (key < kFirstDigit) return 'A' + (key - kFirstLetter);
  if (key < kFirstFunction) return '0' + (key - kFirstDigit);
  return 112 + (key - kFirstFunction);
}

}  // namespace vane::platform
