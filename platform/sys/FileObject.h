// An open file behind a HANDLE, with the share-mode bookkeeping that makes
// conflicting opens inside this process fail as they do on the handheld.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/sys/HandleTable.h"

namespace platform::sys {

class FileObject : public KernelObject {
 public:
  FileObject(int fd, DWORD access, DWORD share, std::string hostPath);
  ~FileObject() override;
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  int fd() const { return fd_; }
  bool canRead() const;
  bool canWrite() const;
  const std::string& hostPath() const { return hostPath_; }

  // Whether a new open of the file (by device and inode) with this access and share mode
  // is compatible with every open handle of this process.
  static bool shareAllows(dev_t device, ino_t inode, DWORD access, DWORD share);
  // Whether the file may be deleted or replaced: every open handle shares delete.
  static bool deleteAllowed(dev_t device, ino_t inode);
  // Same for a host path; a missing file is allowed.
  static bool deleteAllowed(const std::string& hostPath);
  static bool writeAllowed(const std::string& hostPath);

 private:
  int fd_;
  DWORD access_;
  DWORD share_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  std::string hostPath_;
};

}  // namespace platform::sys
