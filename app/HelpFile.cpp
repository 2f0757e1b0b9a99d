#include "app/HelpFile.h"

#include "platform/sys/ShellApi.h"
#include "platform/sys/WinBase.h"

namespace pellucard {

bool HelpFile::install(const std::u16string& path, std::string_view text) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
  const bool closed = CloseHandle(file) != FALSE;
  if (ok && closed) return true;
  DeleteFileW(path.c_str());
  return false;
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
