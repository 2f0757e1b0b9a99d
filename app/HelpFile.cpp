#include "app/HelpFile.h"

#include "platform/sys/ShellApi.h"
#include "platform/sys/WinBase.h"
#include "settings/SafeFile.h"

namespace pellucard {

bool HelpFile::install(const std::u16string& path, std::string_view text) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  // Written beside and put in place whole: a guide cut short by a crash would never be replaced.
  return SafeFile::writeAtomically(path, text);
}

std::u16string HelpFile::url(const std::u16string& path) { return u"file://" + path; }

BOOL HelpFile::open(HWND owner, const std::u16string& path) {
  const std::u16string target = url(path);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = owner;
  info.lpVerb = u"open";
  info.lpFile = target.c_str();
  const BOOL opened = ShellExecuteExW(&info);
  if (opened && info.hProcess != nullptr) CloseHandle(info.hProcess);
  return opened;
}

}  // namespace pellucard
