// SPDX-License-Identifier: GPL-3.0-or-later
// The key table from desktop scancodes to virtual-key codes.
#include "platform/sdl/keymap.h"

namespace vane::platform {

namespace {

struct KeyCode {
  SDL_Scancode scancode;
  uint8_t virtualKey;
};

// The keypad, matched by position before anything else so NumLock never changes the code.
constexpr KeyCode kKeypad[] = {
    {SDL_SCANCODE_KP_0, 96},      {SDL_SCANCODE_KP_1, 97},         {SDL_SCANCODE_KP_2, 98},
    {SDL_SCANCODE_KP_3, 99},      {SDL_SCANCODE_KP_4, 100},        {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102},     {SDL_SCANCODE_KP_7, 103},        {SDL_SCANCODE_KP_8, 104},
    {SDL_SCANCODE_KP_9, 105},     {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_PERIOD, 110},   {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_KP_ENTER, 13},
};

// Every other key with a code, by position.
constexpr KeyCode kKeys[] = {
    {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_LSHIFT, 16},
    {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},
    {SDL_SCANCODE_RCTRL, 17},
    {SDL_SCANCODE_LALT, 18},
    {SDL_SCANCODE_RALT, 18},
    {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},
    {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_F1, 112},
    {SDL_SCANCODE_F2, 113},
    {SDL_SCANCODE_F3, 114},
    {SDL_SCANCODE_F4, 115},
    {SDL_SCANCODE_F5, 116},
    {SDL_SCANCODE_F6, 117},
    {SDL_SCANCODE_F7, 118},
    {SDL_SCANCODE_F8, 119},
    {SDL_SCANCODE_F9, 120},
    {SDL_SCANCODE_F10, 121},
    {SDL_SCANCODE_F11, 122},
    {SDL_SCANCODE_F12, 123},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

int lookUp(const auto& table, SDL_Scancode scancode) {
  for (const KeyCode& k : table) {
    if (k.scancode == scancode) return k.virtualKey;
  }
  return 0;
}

// Letters and digits by the character the layout puts on the key.
int characterKey(SDL_Keycode keycode) {
  if (keycode >= SDLK_a && keycode <= SDLK_z) return 'A' + (keycode - SDLK_a);
  if (keycode >= SDLK_0 && keycode <= SDLK_9) return '0' + (keycode - SDLK_0);
  return 0;
}

// Letters and digits by position, for layouts whose keys carry no Latin character.
int positionalCharacterKey(SDL_Scancode scancode) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return 'A' + (scancode - SDL_SCANCODE_A);
  }
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
    return '1' + (scancode - SDL_SCANCODE_1);
  }
  if (scancode == SDL_SCANCODE_0) return '0';
  return 0;
}

}  // namespace

int virtualKeyFor(SDL_Scancode scancode, SDL_Keycode keycode) {
  if (int vk = lookUp(kKeypad, scancode); vk != 0) return vk;
  if (int vk = characterKey(keycode); vk != 0) return vk;
  if (int vk = positionalCharacterKey(scancode); vk != 0) return vk;
  return lookUp(kKeys, scancode);
}

}  // namespace vane::platform
