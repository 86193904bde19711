// SPDX-License-Identifier: GPL-3.0-or-later
// What the pictures and sounds are made from: a digest of each data file and of the glyph table.
#pragma once

#include <filesystem>
#include <string>

namespace vane {

// Lines "name digest": one per sprite file and sound bank in `folder` ("missing" for one that is
// not there), then one for the glyph table the text is drawn from.
std::string dataFingerprint(const std::filesystem::path& folder);
// The whole fingerprint as one digest, as a replay's header names its data.
std::string dataDigest(const std::filesystem::path& folder);

}  // namespace vane
