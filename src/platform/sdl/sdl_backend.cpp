// placeholder
#include "platform/sdl/sdl_backend.h"
namespace vane::platform {
std::unique_ptr<Backend> makeSdlBackend() { return nullptr; }
}
