// SPDX-License-Identifier: GPL-3.0-or-later
// The program's exit status: 0 for a normal quit, one code for each reason start-up can fail.
#pragma once

namespace vane {

enum ExitStatus : int {
  kExitOk = 0,
  kExitNotRecorded = 1,  // the game was quit, but its --record file could not be written
  kExitBadCommandLine = 2,
  kExitNoDisplay = 3,
  kExitNoSound = 4,
  kExitBadData = 5,        // a data file is missing or cannot be read as the game's data
  kExitSystemFailure = 7,  // out of memory, or the file system failed; one line says which
};

}  // namespace vane
