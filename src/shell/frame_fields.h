// SPDX-License-Identifier: GPL-3.0-or-later
// The game fields of the frame just run, as a trace line writes them, and their digest.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audio/sound.h"

namespace vane {

// 64-bit FNV-1a, the one digest of traces, pictures, data files and replays.
constexpr uint64_t kFnvBasis = 0xcbf29ce484222325ull;
uint64_t fnv1a(std::string_view bytes, uint64_t h = kFnvBasis);
// 16 lower-case hex digits.
std::string hexDigest(uint64_t digest);

// The trace line of frame `f` up to its picture hash: `{"f":F,"gs":G,...,"snd":[...]` with no
// closing brace. Everything in it is a game field: the same keys from the same start give it.
std::string gameFieldsText(long long f, const std::vector<SoundEvent>& events);
// The digest a replay's check line holds: of gameFieldsText.
uint64_t frameDigest(long long f, const std::vector<SoundEvent>& events);

// The score the ship holds now; -1 while there is no ship.
int64_t shipScore();

}  // namespace vane
