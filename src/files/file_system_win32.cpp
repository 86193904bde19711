// SPDX-License-Identifier: GPL-3.0-or-later
// The file writer's system calls on Windows: an exclusive lock file, FlushFileBuffers, MoveFileEx.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "files/file_system.h"

namespace vane::files::os {

namespace {

// How long a writer waits for another one that holds the lock, in steps of 10 ms.
constexpr int kLockSteps = 1000;

// Paths arrive as UTF-8 (the program's code page, see the manifest); one that is not is taken in
// the system's ANSI code page, as an older system hands it over.
std::wstring widen(const std::string& path) {
  for (const UINT page : {UINT{CP_UTF8}, UINT{CP_ACP}}) {
    const DWORD flags = page == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int n =
        MultiByteToWideChar(page, flags, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (n <= 0 && !path.empty()) continue;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(page, flags, path.data(), static_cast<int>(path.size()), wide.data(), n);
    return wide;
  }
  return {};
}

std::string narrow(const std::wstring& wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                      nullptr, nullptr);
  return text;
}

// The system's words for the last failure ("Access is denied"), without the closing stop.
std::string systemReason(const std::string& what, DWORD code = GetLastError()) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string words = n > 0 ? std::string(text, n) : "error " + std::to_string(code);
  LocalFree(text);
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == '.')) {
    words.pop_back();
  }
  return what + ": " + words;
}

// A file beside `target`, named after it with a leading dot, as on the other systems.
std::string besideName(const std::string& target, const std::string& suffix) {
  const size_t slash = target.find_last_of("/\\");
  const size_t name = slash == std::string::npos ? 0 : slash + 1;
  return target.substr(0, name) + "." + target.substr(name) + suffix;
}

bool isDeniedOrReadOnly(DWORD code) {
  return code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT;
}

std::string cannotCreate(DWORD code) {
  if (isDeniedOrReadOnly(code)) return systemReason("its folder cannot be written", code);
  return systemReason("cannot create a file beside it", code);
}

Handle asHandle(HANDLE h) {
  return h == INVALID_HANDLE_VALUE ? -1 : static_cast<Handle>(reinterpret_cast<intptr_t>(h));
}

HANDLE asSystem(Handle h) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(h));
}

}  // namespace

// Links are rare on Windows and need a privilege to make; the one kind followed is the symbolic
// link, through the standard library, which reads its reparse point.
bool followLinks(const std::string& path, std::string& resolved, std::string& reason) {
  namespace fs = std::filesystem;
  fs::path at = fs::path(widen(path));
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code failed;
    if (!fs::is_symlink(fs::symlink_status(at, failed)) || failed) {
      resolved = hop == 0 ? path : narrow(at.native());
      return true;
    }
    fs::path link = fs::read_symlink(at, failed);
    if (failed) {
      reason = "cannot read the link: " + failed.message();
      return false;
    }
    at = link.is_absolute() ? link : at.parent_path() / link;
  }
  reason = "too many levels of links";
  return false;
}

bool examine(const std::string& path, Entry& entry, std::string& reason) {
  entry = Entry{};
  const DWORD attributes = GetFileAttributesW(widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
    reason = systemReason("cannot look at it", code);
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    entry.kind = Entry::Folder;
  } else if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
    entry.kind = Entry::Other;
  } else {
    entry.kind = Entry::Regular;
    entry.writable = (attributes & FILE_ATTRIBUTE_READONLY) == 0;
  }
  return true;
}

// The lock is the lock file opened with no sharing at all: a second writer's open fails until the
// first one closes it, and the system deletes it on that close, also when the writer dies.
Handle lock(const std::string& target, std::string& reason) {
  const std::wstring path = widen(besideName(target, ".lock"));
  for (int step = 0;; ++step) {
    const HANDLE h =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) return asHandle(h);
    const DWORD code = GetLastError();
    // A lock file being deleted refuses opens for a moment with "access denied".
    const bool held = code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED;
    if (!held || step == kLockSteps) {
      reason = code == ERROR_SHARING_VIOLATION ? "another program holds it open for writing"
                                               : cannotCreate(code);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void unlock(Handle lock, const std::string&) {
  CloseHandle(asSystem(lock));
}

Handle createBeside(const std::string& target, unsigned, std::string& created,
                    std::string& reason) {
  static std::atomic<unsigned> serial{0};
  DWORD code = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < 100 && code == ERROR_FILE_EXISTS; ++attempt) {
    std::string tag = ".";
    tag += std::to_string(GetCurrentProcessId());
    tag += '-';
    tag += std::to_string(serial++);
    created = besideName(target, tag);
    const HANDLE h = CreateFileW(widen(created).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return asHandle(h);
    code = GetLastError();
  }
  reason = cannotCreate(code);
  created.clear();
  return -1;
}

bool writeAll(Handle file, const char* bytes, size_t count, std::string& reason) {
  while (count > 0) {
    const DWORD step = count > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(count);
    DWORD written = 0;
    if (WriteFile(asSystem(file), bytes, step, &written, nullptr) == 0 || written == 0) {
      reason = systemReason("cannot write");
      return false;
    }
    bytes += written;
    count -= written;
  }
  return true;
}

bool syncAndClose(Handle file, std::string& reason) {
  const bool synced = FlushFileBuffers(asSystem(file)) != 0;
  if (!synced) reason = systemReason("cannot write");
  const bool closed = CloseHandle(asSystem(file)) != 0;
  if (synced && !closed) reason = systemReason("cannot write");
  return synced && closed;
}

void closeFile(Handle file) {
  CloseHandle(asSystem(file));
}

// MOVEFILE_WRITE_THROUGH returns once the rename is on the disk.
bool replace(const std::string& from, const std::string& to, std::string& reason) {
  if (MoveFileExW(widen(from).c_str(), widen(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
    reason = systemReason("cannot replace it");
    return false;
  }
  return true;
}

void removeFile(const std::string& path) {
  DeleteFileW(widen(path).c_str());
}

}  // namespace vane::files::os
