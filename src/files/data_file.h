// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a data file whole, with the checks every loader and file tool applies alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vane::files {

enum class ReadFailure { None, CannotOpen, NotRegularFile, TooLarge, ReadError };

struct DataFileRead {
  ReadFailure failure = ReadFailure::None;
  std::string reason;    // empty on success; otherwise what went wrong, without the file's name
  bool missing = false;  // it could not be opened because nothing is there
};

// Reads the named file into `bytes` when it is a regular file of at most `maxBytes` bytes. Links
// are followed; a FIFO, a device or a folder is refused without blocking or reading from it.
DataFileRead readDataFile(const char* name, size_t maxBytes, std::vector<uint8_t>& bytes);

// Opens the named file with readDataFile's checks, for a loader that decodes as it reads: on
// success `fd` is open (the caller closes it) and `size` is the file's length.
DataFileRead openDataFile(const char* name, size_t maxBytes, int& fd, size_t& size);

// Reads up to `count` bytes from `fd` into `out`, fewer only at the end of the file; `got` says
// how many.
DataFileRead readDataBytes(int fd, uint8_t* out, size_t count, size_t& got);

// Reads up to `count` bytes from `offset` in `fd` into `out`, fewer only at the end of the file;
// `got` says how many. The file's position is left after them: a file read at offsets is not
// also read in order.
DataFileRead readDataBytesAt(int fd, uint64_t offset, uint8_t* out, size_t count, size_t& got);

// "<name>: <reason>", the one line a loader or a tool shows for a refused file.
std::string refusalText(const char* name, const DataFileRead& read);

// Text read from a file, made safe to show in a message: at most 80 characters (then "..."),
// control characters and bytes that are not UTF-8 written as \xNN.
std::string shownText(std::string_view text);

}  // namespace vane::files
