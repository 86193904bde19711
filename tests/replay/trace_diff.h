// SPDX-License-Identifier: GPL-3.0-or-later
// Golden traces kept small: each frame's fields, long ones as digests, and where two runs part.
#pragma once

#include <string>

namespace vane::testing {

// One line per frame: the trace's fields in order as key=value, a value longer than 24
// characters replaced by ~ and its 64-bit FNV-1a digest in hex.
std::string digestTrace(const std::string& trace);

enum class Compare { AllFields, GameFields };  // GameFields: all but the picture hash `h`

// Empty when the run matches the golden digest; otherwise "frame F, field K: expected … got …".
std::string firstDesync(const std::string& golden, const std::string& actualTrace,
                        Compare compare = Compare::AllFields);

}  // namespace vane::testing
