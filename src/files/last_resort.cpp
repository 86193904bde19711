// SPDX-License-Identifier: GPL-3.0-or-later
// The last resort of every program: out of memory and file-system failures end it with one line.
#include "files/last_resort.h"

#include <cstdio>
#include <filesystem>
#include <new>

namespace vane::files {

namespace {

std::string& fileBeingLoaded() {
  static std::string file;
  return file;
}

}  // namespace

LoadingNote::LoadingNote(const std::string& file) : uncaught_(std::uncaught_exceptions()) {
  fileBeingLoaded() = file;
}

LoadingNote::~LoadingNote() {
  if (std::uncaught_exceptions() == uncaught_) fileBeingLoaded().clear();
}

std::string failureText(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure) == nullptr) return failure.what();
  const std::string& file = fileBeingLoaded();
  return file.empty() ? "out of memory" : "out of memory while loading " + file;
}

int runMain(const char* program, int status, const std::function<int()>& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    // Put together without allocating: memory may still be short.
    const std::string& file = fileBeingLoaded();
    std::fprintf(stderr, "%s: out of memory%s%s\n", program, file.empty() ? "" : " while loading ",
                 file.c_str());
  } catch (const std::filesystem::filesystem_error& failure) {
    std::fprintf(stderr, "%s: %s\n", program, failure.what());
  }
  return status;
}

}  // namespace vane::files
