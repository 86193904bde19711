// Contact sheets and mock screens of the generated art, written as PNG files for review.
#pragma once

#include <string>

namespace vane::forge {

// Writes one contact sheet per sprite file and a few composed screens into `dir`.
bool writePreviews(const std::string& dir);

}  // namespace vane::forge
