// SPDX-License-Identifier: GPL-3.0-or-later
// The file writer's system calls on POSIX systems: links, a lock file, fsync and rename.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "files/file_system.h"

namespace vane::files::os {

namespace {

// How long a writer waits for another one that holds the lock, in steps of 10 ms.
constexpr int kLockSteps = 1000;

std::string withSystemReason(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

// A file beside `target`, hidden, named after it.
std::string besideName(const std::string& target, const std::string& suffix) {
  const size_t slash = target.rfind('/');
  const size_t name = slash == std::string::npos ? 0 : slash + 1;
  return target.substr(0, name) + "." + target.substr(name) + suffix;
}

// A file that cannot be created beside the target: a folder the user may not write is the case
// a player meets, so it is named so.
std::string cannotCreate() {
  if (errno == EACCES || errno == EPERM || errno == EROFS) {
    return withSystemReason("its folder cannot be written");
  }
  return withSystemReason("cannot create a file beside it");
}

Handle lockedFile(const std::string& path, std::string& reason) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    reason = cannotCreate();
    return -1;
  }
  for (int step = 0; ::flock(fd, LOCK_EX | LOCK_NB) != 0; ++step) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || step == kLockSteps) {
      reason = errno == EWOULDBLOCK ? "another program holds it open for writing"
                                    : withSystemReason("cannot lock it");
      ::close(fd);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return fd;
}

}  // namespace

bool followLinks(const std::string& path, std::string& resolved, std::string& reason) {
  std::string at = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      resolved = at;
      return true;
    }
    std::string link(static_cast<size_t>(st.st_size) + 256, '\0');
    const ssize_t n = ::readlink(at.c_str(), link.data(), link.size());
    if (n < 0) {
      reason = withSystemReason("cannot read the link");
      return false;
    }
    link.resize(static_cast<size_t>(n));
    const size_t slash = at.rfind('/');
    if (link.front() != '/' && slash != std::string::npos) link = at.substr(0, slash + 1) + link;
    at = link;
  }
  reason = "too many levels of links";
  return false;
}

bool examine(const std::string& path, Entry& entry, std::string& reason) {
  struct stat st {};
  entry = Entry{};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return true;
    reason = withSystemReason("cannot look at it");
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    entry.kind = Entry::Folder;
  } else if (S_ISREG(st.st_mode)) {
    entry.kind = Entry::Regular;
    entry.mode = st.st_mode & 07777;
    // The system's check alone lets the superuser write anything; a file nobody may write is
    // read-only for it too.
    entry.writable =
        (st.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
  } else {
    entry.kind = Entry::Other;
  }
  return true;
}

// The lock file is removed by the writer that lets go of it, so none is left behind. One that
// waited on the removed file finds another (or none) at the name, and locks that instead.
Handle lock(const std::string& target, std::string& reason) {
  const std::string path = besideName(target, ".lock");
  for (;;) {
    const Handle fd = lockedFile(path, reason);
    if (fd < 0) return -1;
    struct stat held {};
    struct stat named {};
    if (::fstat(static_cast<int>(fd), &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      return fd;
    }
    ::close(static_cast<int>(fd));
  }
}

void unlock(Handle lock, const std::string& target) {
  ::unlink(besideName(target, ".lock").c_str());
  ::close(static_cast<int>(lock));
}

Handle createBeside(const std::string& target, unsigned mode, std::string& created,
                    std::string& reason) {
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) of "." + std::string at -O3.
    std::string tag = ".";
    tag += std::to_string(::getpid());
    tag += '-';
    tag += std::to_string(serial++);
    created = besideName(target, tag);
    // A new file gets the mode the user's umask gives; a replacement is given its target's.
    const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          mode != 0 ? 0600 : 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) break;
    if (mode != 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
      reason = withSystemReason("cannot give the new file its mode");
      ::close(fd);
      ::unlink(created.c_str());
      return -1;
    }
    return fd;
  }
  reason = cannotCreate();
  created.clear();
  return -1;
}

bool writeAll(Handle file, const char* bytes, size_t count, std::string& reason) {
  while (count > 0) {
    const ssize_t n = ::write(static_cast<int>(file), bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      reason = withSystemReason("cannot write");
      return false;
    }
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

bool syncAndClose(Handle file, std::string& reason) {
  const bool synced = ::fsync(static_cast<int>(file)) == 0;
  if (!synced) reason = withSystemReason("cannot write");
  const bool closed = ::close(static_cast<int>(file)) == 0;
  if (synced && !closed) reason = withSystemReason("cannot write");
  return synced && closed;
}

void closeFile(Handle file) {
  ::close(static_cast<int>(file));
}

bool replace(const std::string& from, const std::string& to, std::string& reason) {
  if (::rename(from.c_str(), to.c_str()) != 0) {
    reason = withSystemReason("cannot replace it");
    return false;
  }
  // The rename is durable once the folder that holds both names is.
  const size_t slash = to.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash + 1);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return true;
}

void removeFile(const std::string& path) {
  ::unlink(path.c_str());
}

}  // namespace vane::files::os
