// The host's file calls as the platform makes them: each asks the fault-injection switch first and
// then does the real thing. Results and errno are those of the POSIX call it stands for.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace platform {

class HostCalls {
 public:
  static int open(const char* path, int flags, mode_t mode = 0);
  // mkostemp: the template's XXXXXX become the name of the file made.
  static int makeTemp(std::string& pathTemplate, int flags);
  // Writes every byte (retrying after interruptions); false with errno set when one write failed.
  // written, when given, receives the bytes that did reach the file.
  static bool writeAll(int fd, const void* data, std::size_t size, const char* path, std::size_t* written = nullptr);
  static int sync(int fd, const char* path);
  // Makes the folder's entries durable (after a rename or a new file in it). Best effort.
  static void syncFolder(const std::string& folder);
  static int truncate(int fd, off_t size, const char* path);
  static int rename(const char* from, const char* to);
  // A rename that refuses to replace an existing target (EEXIST).
  static int renameNoReplace(const char* from, const char* to);
  static int link(const char* from, const char* to);
  static int unlink(const char* path);
};

}  // namespace platform
