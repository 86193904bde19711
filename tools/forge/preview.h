// SPDX-License-Identifier: GPL-3.0-or-later
// Contact sheets and mock screens of the generated art, written as PNG files for review.
#pragma once

#include <string>

namespace vane::forge {

// Writes one contact sheet per sprite file and a few composed screens into `dir`.
bool writePreviews(const std::string& dir);
// Writes `dir`/art.md, the table of every catalogued frame, and beside it `dir`/art/ the
// contact sheets of the seven files with each frame labelled by its number and name.
bool writeCatalogue(const std::string& dir);

}  // namespace vane::forge
