// The game's sound effects and music, synthesised and sequenced by our own code.
#pragma once

#include <vector>

#include "tools/common/formats.h"

namespace vane::forge {

// The seven effects of "1.snd", in clip order.
std::vector<tools::Clip> makeEffects();
// The four pieces of "music.snd", in clip order.
std::vector<tools::Clip> makeMusic();

}  // namespace vane::forge
