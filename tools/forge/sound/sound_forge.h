// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sound effects and music, synthesised and sequenced by our own code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/common/formats.h"

namespace vane::forge {

// The seven effects of "1.snd", in clip order.
std::vector<tools::Clip> makeEffects();
// The four pieces of "music.snd", in clip order; or those from `first` up to `end` alone.
std::vector<tools::Clip> makeMusic(size_t first = 0, size_t end = SIZE_MAX);

// The clips' names, in clip order: a recorded "effect-<name>.wav" or "music-<name>.wav" in the
// artist's folder takes the clip's place.
inline const std::vector<const char*> kEffectNames{"ship-explodes",  "shot",      "energy-ball",
                                                   "enemy-explodes", "special-1", "special-2",
                                                   "weapon-item"};
inline const std::vector<const char*> kMusicNames{"stage-1", "stage-2", "stage-clear", "game-over"};

}  // namespace vane::forge
