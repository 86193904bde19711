// The back end in use, message dispatch and the system's default message handling.
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace vane::platform {
namespace {
Backend* current = nullptr;
WindowProc windowProcedure = nullptr;
}  // namespace

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
