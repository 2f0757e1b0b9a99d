#include "platform/sys/FileObject.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/sys/WinBase.h"

namespace platform::sys {

namespace {

struct OpenRecord {
  const FileObject* owner;
  dev_t device;
  ino_t inode;
  DWORD access;
  DWORD share;
};

std::mutex& openMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<OpenRecord>& openRecords() {
  static std::vector<OpenRecord> records;
  return records;
}

bool reads(DWORD access) { return (access & (GENERIC_READ | GENERIC_ALL)) != 0; }
bool writes(DWORD access) { return (access & (GENERIC_WRITE | GENERIC_ALL)) != 0; }

}  // namespace

FileObject::FileObject(int fd, DWORD access, DWORD share, std::string hostPath)
    : fd_(fd), access_(access), share_(share), hostPath_(std::move(hostPath)) {
  struct stat st {};
  if (::fstat(fd_, &st) == 0) {
    device_ = st.st_dev;
    inode_ = st.st_ino;
  }
  std::lock_guard lock(openMutex());
  openRecords().push_back({this, device_, inode_, access_, share_});
}

FileObject::~FileObject() {
  {
    std::lock_guard lock(openMutex());
    auto& records = openRecords();
    records.erase(
        std::remove_if(records.begin(), records.end(), [this](const OpenRecord& r) { return r.owner == this; }),
        records.end());
  }
  if (fd_ >= 0) ::close(fd_);
}

bool FileObject::canRead() const { return reads(access_); }
bool FileObject::canWrite() const { return writes(access_); }

bool FileObject::shareAllows(dev_t device, ino_t inode, DWORD access, DWORD share) {
  std::lock_guard lock(openMutex());
  for (const OpenRecord& r : openRecords()) {
    if (r.device != device || r.inode != inode) continue;
    if (reads(access) && !(r.share & FILE_SHARE_READ)) return false;
    if (writes(access) && !(r.share & FILE_SHARE_WRITE)) return false;
    if (reads(r.access) && !(share & FILE_SHARE_READ)) return false;
    if (writes(r.access) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

bool FileObject::deleteAllowed(dev_t device, ino_t inode) {
  std::lock_guard lock(openMutex());
  for (const OpenRecord& r : openRecords())
    if (r.device == device && r.inode == inode && !(r.share & FILE_SHARE_DELETE)) return false;
  return true;
}

bool FileObject::deleteAllowed(const std::string& hostPath) {
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) != 0) return true;
  return deleteAllowed(st.st_dev, st.st_ino);
}

bool FileObject::writeAllowed(const std::string& hostPath) {
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) != 0) return true;
  return shareAllows(st.st_dev, st.st_ino, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

}  // namespace platform::sys
