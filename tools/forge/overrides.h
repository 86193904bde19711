// SPDX-License-Identifier: GPL-3.0-or-later
// Hand-drawn frames and recorded clips from an artist's folder, in place of the forged ones.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "art.h"
#include "tools/common/formats.h"

namespace vane::forge {

// A file of the artist's folder that cannot be used; its message is one line naming the file.
struct OverrideError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The frame a PNG holds, checked against its catalogue entry: the same size, every pixel either
// transparent (alpha 0) or opaque (alpha 255), and every channel one of the 32 levels of a
// 5-5-5 colour (as `vane-spr unpack` writes them, or as scaled by 255/31). Throws
// std::runtime_error otherwise.
SpriteFrame frameFromPng(const std::string& path, const frames::FrameInfo& entry);

// The clip a WAV file (PCM, 8 or 16 bits, mono or stereo, any rate) holds, converted to the
// banks' 16-bit mono at `rate` (resampled with a band-limiting filter where the rates differ);
// `notes` gets a line when it had to be mixed down or resampled.
tools::Clip clipFromWav(const std::string& path, uint32_t rate, std::string& notes);

// Replaces the frames of `sheet` that `artDir` holds as "<stem>-<name>.png"; the names of the
// files used are added to `used`.
void overrideFrames(const std::string& artDir, const frames::SheetInfo& sheet, ForgedSheet& forged,
                    std::vector<std::string>& used);

// Replaces the clips of a bank that `artDir` holds as "<prefix>-<name>.wav".
void overrideClips(const std::string& artDir, const char* prefix,
                   const std::vector<const char*>& names, uint32_t rate,
                   std::vector<tools::Clip>& clips, std::vector<std::string>& used,
                   std::string& notes);

// Throws OverrideError for the first PNG or WAV file of `artDir` that is not in `used`: a name
// that matches no frame or clip is a typo the artist must hear about.
void rejectUnknownFiles(const std::string& artDir, const std::vector<std::string>& used);

}  // namespace vane::forge
