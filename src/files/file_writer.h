// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file the one safe way every program shares: wholly replaced, or left as it was.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "files/file_system.h"

namespace vane::files {

// Writes into a temporary file beside the target and renames it over the target once every byte
// is on disk, so a reader sees the old file or the new one, never a part. A link is followed and
// the file it leads to is replaced; a replaced file keeps its mode. While open, a lock keeps
// other writers of the same file waiting, so two never mix. The target must be a regular file
// the user may write, or missing. Any failure leaves the target as it was, and error() is the
// one line to show: "<file>: <reason>".
class FileWriter {
 public:
  FileWriter() = default;
  ~FileWriter() { abandon(); }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  bool open(const std::string& path);
  bool write(std::string_view bytes);
  // Hands what was written so far to the temporary file.
  bool flush();
  // Makes the temporary file durable, renames it over the target and lets the lock go.
  bool commit();
  // Drops the temporary file and the lock; the target stays as it was.
  void abandon();

  bool isOpen() const { return file_ != -1; }
  const std::string& error() const { return error_; }

 private:
  bool fail(const std::string& reason);

  std::string name_;
  std::string target_;
  std::string temporary_;
  std::string pending_;
  os::Handle lock_ = -1;
  os::Handle file_ = -1;
  std::string error_;
};

// Why the file writer would refuse `path` ("<file>: is read-only"), looked at without touching
// it; empty when it would take it. The folder is not tried.
std::string writeRefusal(const std::string& path);

// The whole file at once; false with `error` set to the one line to show.
bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& error);

// A FileWriter for code that writes with <<: a failed write sets the stream's badbit, and
// std::flush hands the lines so far to the temporary file.
class FileWriterStream : public std::ostream {
 public:
  FileWriterStream() : std::ostream(&buffer_) {}
  bool open(const std::string& path);
  bool commit();
  const std::string& error() const { return writer_.error(); }

 private:
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(FileWriter& writer) : writer_(writer) {}

   protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override { return writer_.flush() ? 0 : -1; }

   private:
    FileWriter& writer_;
  };

  FileWriter writer_;
  Buffer buffer_{writer_};
};

}  // namespace vane::files
