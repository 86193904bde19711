// SPDX-License-Identifier: GPL-3.0-or-later
// The file writer: a temporary file beside the target, made durable, then renamed over it.
#include "files/file_writer.h"

namespace vane::files {

namespace {

// Bytes gathered before they go to the temporary file.
constexpr size_t kPendingBytes = size_t{64} << 10;

// Follows the links from `path` to the file to write, and says why it may not be written.
bool takeTarget(const std::string& path, std::string& target, os::Entry& entry,
                std::string& reason) {
  if (!os::followLinks(path, target, reason) || !os::examine(target, entry, reason)) {
    return false;
  }
  if (entry.kind == os::Entry::Folder) reason = "is a folder, not a file";
  if (entry.kind == os::Entry::Other) reason = "is not a regular file";
  if (entry.kind == os::Entry::Regular && !entry.writable) reason = "is read-only";
  return reason.empty();
}

}  // namespace

std::string writeRefusal(const std::string& path) {
  std::string target;
  os::Entry entry;
  std::string reason;
  return takeTarget(path, target, entry, reason) ? std::string() : path + ": " + reason;
}

bool FileWriter::open(const std::string& path) {
  abandon();
  error_.clear();
  name_ = path;
  std::string reason;
  os::Entry entry;
  if (!takeTarget(path, target_, entry, reason)) return fail(reason);
  lock_ = os::lock(target_, reason);
  if (lock_ == -1) return fail(reason);
  file_ = os::createBeside(target_, entry.mode, temporary_, reason);
  if (file_ == -1) return fail(reason);
  return true;
}

bool FileWriter::write(std::string_view bytes) {
  if (!isOpen()) return false;
  pending_.append(bytes);
  return pending_.size() < kPendingBytes || flush();
}

bool FileWriter::flush() {
  if (!isOpen()) return false;
  std::string reason;
  if (!os::writeAll(file_, pending_.data(), pending_.size(), reason)) return fail(reason);
  pending_.clear();
  return true;
}

bool FileWriter::commit() {
  if (!flush()) return false;
  std::string reason;
  const bool synced = os::syncAndClose(file_, reason);
  file_ = -1;
  if (!synced || !os::replace(temporary_, target_, reason)) return fail(reason);
  temporary_.clear();
  abandon();
  return true;
}

void FileWriter::abandon() {
  if (file_ != -1) os::closeFile(file_);
  if (!temporary_.empty()) os::removeFile(temporary_);
  if (lock_ != -1) os::unlock(lock_, target_);
  file_ = -1;
  lock_ = -1;
  temporary_.clear();
  pending_.clear();
}

bool FileWriter::fail(const std::string& reason) {
  error_ = name_ + ": " + reason;
  abandon();
  return false;
}

bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
  FileWriter writer;
  if (writer.open(path) && writer.write(bytes) && writer.commit()) return true;
  error = writer.error();
  return false;
}

bool FileWriterStream::open(const std::string& path) {
  clear();
  if (writer_.open(path)) return true;
  setstate(badbit);
  return false;
}

bool FileWriterStream::commit() {
  flush();
  if (!bad() && writer_.commit()) return true;
  setstate(badbit);
  return false;
}

FileWriterStream::Buffer::int_type FileWriterStream::Buffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  return writer_.write(std::string_view(&ch, 1)) ? c : traits_type::eof();
}

std::streamsize FileWriterStream::Buffer::xsputn(const char* s, std::streamsize n) {
  return writer_.write(std::string_view(s, static_cast<size_t>(n))) ? n : 0;
}

}  // namespace vane::files
