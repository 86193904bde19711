// SPDX-License-Identifier: GPL-3.0-or-later
// The vane program: the game on the desktop back end. Its status is 0 in every case.
#include "platform/sdl/sdl_backend.h"
#include "shell/game.h"

int main() {
  const auto backend = vane::platform::makeSdlBackend();
  if (!backend) return 0;
  vane::platform::setBackend(backend.get());
  const int status = vane::gameMain();
  vane::platform::setBackend(nullptr);
  return status;
}
