// SPDX-License-Identifier: GPL-3.0-or-later
// The map from the keys the system reports to the game's virtual keys.
#include "host/key_map.h"

#include "host/internal.h"

namespace vane::host {

namespace {

KeyMap keyMap = identityKeyMap();

}  // namespace

KeyMap identityKeyMap() {
  KeyMap map{};
  for (size_t k = 0; k < map.size(); ++k) map[k] = static_cast<uint8_t>(k);
  return map;
}

void setKeyMap(const KeyMap& map) {
  keyMap = map;
}

int mappedKey(int systemKey) {
  if (systemKey <= 0 || systemKey > 255) return systemKey;
  return keyMap[static_cast<size_t>(systemKey)];
}

void internal::resetKeyMap() {
  keyMap = identityKeyMap();
}

}  // namespace vane::host
