#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/base/TextCase.h"
#include "platform/base/Utf.h"
#include "platform/sys/DevicePath.h"
#include "platform/sys/HandleTable.h"
#include "platform/sys/ShellApi.h"

using namespace platform::sys;

namespace {

// A started opener; the handle only identifies it, nobody waits for it.
class OpenerProcess : public KernelObject {
 public:
  explicit OpenerProcess(pid_t pid) : pid_(pid) {}
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_;
};

BOOL fail(SHELLEXECUTEINFOW* info, DWORD error, UINT_PTR code) {
  if (info) info->hInstApp = reinterpret_cast<HINSTANCE>(code);
  SetLastError(error);
  return FALSE;
}

std::string fileUrl(const std::string& hostPath) {
  static const char* hex = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : hostPath) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
                       c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 15];
    }
  }
  return url;
}

bool hasScheme(std::u16string_view target) {
  const std::size_t colon = target.find(u':');
  if (colon == std::u16string_view::npos || colon < 2) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char16_t c = target[i];
    if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'+' || c == u'.' || c == u'-')) return false;
  }
  return true;
}

// Starts the opener detached (its parent exits at once, so no zombie is left) and reports
// whether it could be started at all: exec failures come back through a close-on-exec pipe.
struct PipeNote {
  int kind;  // 1: the opener's process id, 2: why it could not start
  int value;
};

bool startDetached(const std::string& program, const std::string& argument, pid_t& started, int& error) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    error = errno;
    return false;
  }
  const pid_t middle = ::fork();
  if (middle < 0) {
    error = errno;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return false;
  }
  if (middle == 0) {
    ::close(pipeFds[0]);
    ::setsid();
    const pid_t opener = ::fork();
    if (opener == 0) {
      const int devNull = ::open("/dev/null", O_RDWR);
      if (devNull >= 0) {
        ::dup2(devNull, 0);
        ::dup2(devNull, 1);
      }
      const char* args[] = {program.c_str(), argument.c_str(), nullptr};
      ::execvp(program.c_str(), const_cast<char* const*>(args));
      const PipeNote note{2, errno};
      (void)!::write(pipeFds[1], &note, sizeof note);
      ::_exit(127);
    }
    const PipeNote note = opener < 0 ? PipeNote{2, errno} : PipeNote{1, static_cast<int>(opener)};
    (void)!::write(pipeFds[1], &note, sizeof note);
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  pid_t pid = 0;
  int failure = 0;
  for (;;) {
    PipeNote note{};
    const ssize_t n = ::read(pipeFds[0], &note, sizeof note);
    if (n < 0 && errno == EINTR) continue;
    if (n != static_cast<ssize_t>(sizeof note)) break;  // end: every writer has gone
    if (note.kind == 1) pid = note.value;
    if (note.kind == 2) failure = note.value ? note.value : ECHILD;
  }
  ::close(pipeFds[0]);
  if (failure || pid <= 0) {
    error = failure ? failure : ECHILD;
    return false;
  }
  started = pid;
  return true;
}

}  // namespace

BOOL ShellExecuteExW(LPSHELLEXECUTEINFOW lpExecInfo) {
  if (!lpExecInfo || (lpExecInfo->cbSize != 60 && lpExecInfo->cbSize != sizeof(SHELLEXECUTEINFOW)))
    return fail(nullptr, ERROR_INVALID_PARAMETER, 0);
  SHELLEXECUTEINFOW& info = *lpExecInfo;
  info.hProcess = nullptr;
  if (info.lpVerb && *info.lpVerb && !platform::equalsIgnoringCase(info.lpVerb, u"open"))
    return fail(&info, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC);
  if (!info.lpFile || !*info.lpFile) return fail(&info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);

  std::u16string target = info.lpFile;
  std::string argument;
  const bool fileScheme = target.size() >= 7 && platform::equalsIgnoringCase(target.substr(0, 7), u"file://");
  if (fileScheme || !hasScheme(target)) {
    // A file: the program writes "file://" and its own path after it, as it is.
    const std::u16string path = fileScheme ? target.substr(7) : target;
    if (path.empty()) return fail(&info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
    const std::string hostPath = DevicePath::toHost(path);
    struct stat st {};
    if (::stat(hostPath.c_str(), &st) != 0) return fail(&info, ERROR_FILE_NOT_FOUND, SE_ERR_FNF);
    argument = fileUrl(hostPath);
  } else {
    argument = platform::toUtf8(target);
  }

  const char* custom = std::getenv("PELLUCARD_OPENER");
  const std::string program = custom && *custom ? custom : "xdg-open";
  pid_t pid = 0;
  int error = 0;
  if (!startDetached(program, argument, pid, error)) {
    if (error == ENOENT || error == EACCES || error == ENOEXEC)
      return fail(&info, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC);
    return fail(&info, ERROR_NOT_ENOUGH_MEMORY, SE_ERR_OOM);
  }
  info.hInstApp = reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(42));
  if (info.fMask & SEE_MASK_NOCLOSEPROCESS)
    info.hProcess = HandleTable::instance().add(std::make_unique<OpenerProcess>(pid));
  return TRUE;
}
