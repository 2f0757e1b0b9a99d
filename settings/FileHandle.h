// Owns a file handle of the platform and closes it once.
#pragma once

#include <string>

#include "platform/sys/WinBase.h"

namespace pellucard {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  // An existing file, shared for reading and writing.
  static FileHandle openExisting(const std::u16string& path, DWORD access) {
    return FileHandle(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
  FileHandle& operator=(FileHandle&&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  // False when closing reported an error (for a written file: the data may not be complete).
  bool close() {
    if (!valid()) return true;
    const bool ok = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

}  // namespace pellucard
