// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a data file whole: only regular files, never more than the caller's cap.
#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vane::platform {

namespace {

DataFileRead failed(ReadFailure failure, std::string reason) {
  return DataFileRead{failure, std::move(reason)};
}

std::string errnoText(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

DataFileRead readDataFile(const char* name, size_t maxBytes, std::vector<uint8_t>& bytes) {
  bytes.clear();
  // Non-blocking, so opening a FIFO with no writer returns at once; fstat then refuses it.
  const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return failed(ReadFailure::CannotOpen, errnoText("cannot open"));
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return failed(ReadFailure::ReadError, errnoText("cannot read"));
  if (!S_ISREG(st.st_mode)) {
    return failed(ReadFailure::NotRegularFile,
                  S_ISDIR(st.st_mode) ? "is a folder, not a file" : "is not a regular file");
  }
  const auto tooLarge = [maxBytes] {
    return failed(ReadFailure::TooLarge,
                  "larger than the limit of " + std::to_string(maxBytes) + " bytes");
  };
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return tooLarge();
  // Read up to one byte past the cap, so a file that grew since fstat is caught too.
  bytes.resize(static_cast<size_t>(st.st_size) + 1);
  size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      bytes.clear();
      return failed(ReadFailure::ReadError, errnoText("read error"));
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
    if (got > maxBytes) {
      bytes.clear();
      return tooLarge();
    }
    if (got == bytes.size()) bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
  }
  bytes.resize(got);
  return {};
}

std::string refusalText(const char* name, const DataFileRead& read) {
  return std::string(name) + ": " + read.reason;
}

}  // namespace vane::platform
