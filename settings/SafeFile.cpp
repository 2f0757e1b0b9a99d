#include "settings/SafeFile.h"

#include <algorithm>

#include "platform/base/WinError.h"
#include "platform/sys/WinBase.h"
#include "settings/FileHandle.h"

namespace pellucard {

namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> SafeFile::read(const std::u16string& path, std::size_t maxSize) {
  FileHandle file = FileHandle::openExisting(path, GENERIC_READ);
  if (!file.valid()) return std::nullopt;
  DWORD high = 0;
  const DWORD low = GetFileSize(file.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
  const unsigned long long size = (static_cast<unsigned long long>(high) << 32) | low;
  if (size > maxSize) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t at = 0;
  while (at < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + at, static_cast<DWORD>(bytes.size() - at), &got, nullptr))
      return std::nullopt;
    if (got == 0) break;
    at += got;
  }
  bytes.resize(at);
  return bytes;
}

std::u16string SafeFile::tempPathFor(const std::u16string& path) { return path + u".tmp"; }

std::u16string SafeFile::folderOf(const std::u16string& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (isSeparator(path[i - 1])) return path.substr(0, i - 1);
  }
  return std::u16string();
}

bool SafeFile::createFolders(const std::u16string& folder) {
  // Each prefix that ends before a separator is one level; the first character is the root.
  for (std::size_t i = 1; i <= folder.size(); ++i) {
    if (i == folder.size() || isSeparator(folder[i])) {
      const std::u16string level = folder.substr(0, i);
      if (!isSeparator(level.back())) CreateDirectoryW(level.c_str(), nullptr);
    }
  }
  if (folder.empty()) return true;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool SafeFile::replace(const std::u16string& temp, const std::u16string& target) {
  // The platform's copy itself lands in one rename, so the target is either old or new.
  const bool ok = CopyFileW(temp.c_str(), target.c_str(), FALSE) != FALSE;
  DeleteFileW(temp.c_str());
  return ok;
}

bool SafeFile::writeAtomically(const std::u16string& path, std::string_view bytes) {
  if (path.empty()) return false;
  createFolders(folderOf(path));
  const std::u16string temp = tempPathFor(path);
  {
    FileHandle file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    const bool written = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
    if (!file.close() || !written) {
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  return replace(temp, path);
}

}  // namespace pellucard
