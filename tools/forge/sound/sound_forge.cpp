// placeholder
#include "tools/forge/sound/sound_forge.h"
namespace vane::forge {
std::vector<tools::Clip> makeEffects() { return {}; }
std::vector<tools::Clip> makeMusic() { return {}; }
}
