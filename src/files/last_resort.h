// SPDX-License-Identifier: GPL-3.0-or-later
// What every program's main does with the failures nothing below it can go on from.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace vane::files {

// Names the file a loader is reading, for the message should memory run out meanwhile. A note
// outlives an exception thrown while it stands, so that runMain can still name the file.
class LoadingNote {
 public:
  explicit LoadingNote(const std::string& file);
  ~LoadingNote();
  LoadingNote(const LoadingNote&) = delete;
  LoadingNote& operator=(const LoadingNote&) = delete;

 private:
  int uncaught_;
};

// What went wrong, as one line says it: "out of memory while loading enemy.spr" for
// std::bad_alloc, the exception's own text otherwise.
std::string failureText(const std::exception& failure);

// Runs `body`, a program's main. Running out of memory or a failing file system
// (std::filesystem::filesystem_error) ends it with one line on stderr, "<program>: <what>", and
// `status`, rather than an abort.
int runMain(const char* program, int status, const std::function<int()>& body);

}  // namespace vane::files
