// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a data file whole: only regular files, never more than the caller's cap.
#include "files/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

// Flags only some systems have: where one is absent, what it guards against cannot happen there
// (no FIFO to block on, no child to inherit the file, no terminal to take over) or, for
// O_BINARY, every file is binary already.
#ifndef O_BINARY
#define O_BINARY 0
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif

namespace vane::files {

namespace {

DataFileRead failed(ReadFailure failure, std::string reason) {
  return DataFileRead{failure, std::move(reason)};
}

std::string errnoText(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

DataFileRead tooLarge(size_t maxBytes) {
  return failed(ReadFailure::TooLarge,
                "larger than the limit of " + std::to_string(maxBytes) + " bytes");
}

}  // namespace

DataFileRead openDataFile(const char* name, size_t maxBytes, int& fd, size_t& size) {
  // Non-blocking, so opening a FIFO with no writer returns at once; fstat then refuses it.
  fd = ::open(name, O_RDONLY | O_BINARY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const bool missing = errno == ENOENT;
    DataFileRead why = failed(ReadFailure::CannotOpen, errnoText("cannot open"));
    why.missing = missing;
    return why;
  }
  const auto refuse = [&fd](DataFileRead why) {
    ::close(fd);
    fd = -1;
    return why;
  };
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    return refuse(failed(ReadFailure::ReadError, errnoText("cannot read")));
  }
  if (!S_ISREG(st.st_mode)) {
    return refuse(failed(ReadFailure::NotRegularFile, S_ISDIR(st.st_mode)
                                                          ? "is a folder, not a file"
                                                          : "is not a regular file"));
  }
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return refuse(tooLarge(maxBytes));
  size = static_cast<size_t>(st.st_size);
  return {};
}

DataFileRead readDataBytes(int fd, uint8_t* out, size_t count, size_t& got) {
  got = 0;
  while (got < count) {
    const auto n = ::read(fd, out + got, count - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failed(ReadFailure::ReadError, errnoText("read error"));
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return {};
}

DataFileRead readDataBytesAt(int fd, uint64_t offset, uint8_t* out, size_t count, size_t& got) {
  got = 0;
  if (::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) {
    return failed(ReadFailure::ReadError, errnoText("read error"));
  }
  return readDataBytes(fd, out, count, got);
}

DataFileRead readDataFile(const char* name, size_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  int fd = -1;
  size_t size = 0;
  if (DataFileRead opened = openDataFile(name, maxBytes, fd, size);
      opened.failure != ReadFailure::None) {
    return opened;
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  // Read up to one byte past the cap, so a file that grew since fstat is caught too.
  bytes.resize(size + 1);
  size_t got = 0;
  while (got < bytes.size()) {
    size_t more = 0;
    if (DataFileRead read = readDataBytes(fd, bytes.data() + got, bytes.size() - got, more);
        read.failure != ReadFailure::None) {
      bytes.clear();
      return read;
    }
    if (more == 0) break;
    got += more;
    if (got > maxBytes) {
      bytes.clear();
      return tooLarge(maxBytes);
    }
    if (got == bytes.size()) bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
  }
  bytes.resize(got);
  return {};
}

std::string refusalText(const char* name, const DataFileRead& read) {
  return std::string(name) + ": " + read.reason;
}

namespace {

// The bytes of the printable character at `at`: 0 for a control character (C0, DEL, C1) or a
// byte that does not start a whole UTF-8 sequence.
size_t printableLength(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead >= 0x20 && lead < 0x7f) return 1;
  if (lead < 0xc2 || lead > 0xf4) return 0;
  const size_t length = lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80) return 0;
  }
  if (lead == 0xc2 && static_cast<unsigned char>(text[at + 1]) < 0xa0) return 0;
  return length;
}

}  // namespace

std::string shownText(std::string_view text) {
  constexpr size_t kShownCharacters = 80;
  std::string shown;
  size_t characters = 0;
  for (size_t at = 0; at < text.size(); ++characters) {
    if (characters == kShownCharacters) return shown + "...";
    const size_t length = printableLength(text, at);
    if (length == 0) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(text[at]));
      shown += escaped;
      ++at;
    } else {
      shown.append(text.substr(at, length));
      at += length;
    }
  }
  return shown;
}

}  // namespace vane::files
