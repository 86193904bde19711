// placeholder
#include "platform/sdl/mixer.h"
namespace vane::platform {
struct SdlMixer::Impl {};
SdlMixer::SdlMixer() = default;
SdlMixer::~SdlMixer() = default;
bool SdlMixer::open() { return true; }
void SdlMixer::close() {}
BufferId SdlMixer::create(const WaveFormat&, uint32_t) { return 0; }
uint8_t* SdlMixer::lock(BufferId, uint32_t&) { return nullptr; }
bool SdlMixer::unlock(BufferId) { return false; }
bool SdlMixer::play(BufferId, bool) { return false; }
bool SdlMixer::stop(BufferId) { return false; }
uint32_t SdlMixer::status(BufferId) { return 0; }
void SdlMixer::release(BufferId) {}
}
