// SPDX-License-Identifier: GPL-3.0-or-later
// What the file writer asks of the operating system, so that each system supplies its own.
#pragma once

#include <cstddef>
#include <string>

namespace vane::files::os {

// An open file or lock of the system; -1 is none.
using Handle = long long;

struct Entry {
  enum Kind { Missing, Regular, Folder, Other } kind = Missing;
  unsigned mode = 0;      // the permission bits of a regular file
  bool writable = false;  // the user may write it, and someone may: a file of mode 444 may not be
};

// Every reason below is a short phrase with the system's own words in it ("Permission denied").

// The path with every link on it followed, as far as the links lead (a link to nothing gives
// the path it points at). False with `reason` set for a loop of links.
bool followLinks(const std::string& path, std::string& resolved, std::string& reason);
// What is at `path`, without following a last link.
bool examine(const std::string& path, Entry& entry, std::string& reason);
// Waits (a few seconds at most) for the lock every writer of `target` takes, and takes it.
Handle lock(const std::string& target, std::string& reason);
void unlock(Handle lock, const std::string& target);
// Creates a new file beside `target`, its name made from `target`'s; `mode` is that of the
// target it will replace, or 0 for a new file's usual mode.
Handle createBeside(const std::string& target, unsigned mode, std::string& created,
                    std::string& reason);
bool writeAll(Handle file, const char* bytes, size_t count, std::string& reason);
// Makes the written bytes durable, then closes the file (also when that fails).
bool syncAndClose(Handle file, std::string& reason);
void closeFile(Handle file);
// Renames `from` over `to` in one step, and makes the rename durable.
bool replace(const std::string& from, const std::string& to, std::string& reason);
void removeFile(const std::string& path);

}  // namespace vane::files::os
