// SPDX-License-Identifier: GPL-3.0-or-later
// What the pictures were drawn from: a digest of each sprite file and of the glyph table.
#pragma once

#include <string>

namespace vane::testing {

// Lines "name digest", one per sprite file of the data folder and one for the glyph table.
std::string currentFingerprint();

// The fingerprint the golden pictures and picture hashes were recorded with (empty if none).
std::string recordedFingerprint();
void recordFingerprint(const std::string& fingerprint);

// Empty when the recorded fingerprint matches this build's; otherwise why the pictures differ.
std::string pictureSourcesDiffer();

}  // namespace vane::testing
