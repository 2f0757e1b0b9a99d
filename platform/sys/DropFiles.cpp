// The files of a drop, kept behind an HDROP until the window that received them lets go.
#include <algorithm>
#include <memory>

#include "platform/sys/HandleTable.h"
#include "platform/sys/ShellApi.h"

namespace platform::sys {

namespace {

class DropObject : public KernelObject {
 public:
  DropObject(std::vector<std::u16string> files, POINT at) : paths(std::move(files)), point(at) {}
  // Only DragFinish lets go of it.
  bool closableByCloseHandle() const override { return false; }

  std::vector<std::u16string> paths;
  POINT point;
};

DropObject* dropOf(HDROP drop) { return drop ? HandleTable::instance().get<DropObject>(drop) : nullptr; }

}  // namespace

HDROP createDrop(std::vector<std::u16string> hostPaths, POINT clientPoint) {
  return HandleTable::instance().add(std::make_unique<DropObject>(std::move(hostPaths), clientPoint));
}

}  // namespace platform::sys

using platform::sys::dropOf;

UINT DragQueryFileW(HDROP hDrop, UINT iFile, LPWSTR lpszFile, UINT cch) {
  const auto* drop = dropOf(hDrop);
  if (drop == nullptr) return 0;
  if (iFile == 0xFFFFFFFFu) return static_cast<UINT>(drop->paths.size());
  if (iFile >= drop->paths.size()) return 0;
  const std::u16string& path = drop->paths[iFile];
  if (lpszFile == nullptr || cch == 0) return static_cast<UINT>(path.size());
  const std::size_t copied = std::min<std::size_t>(path.size(), cch - 1);
  std::copy_n(path.begin(), copied, lpszFile);
  lpszFile[copied] = 0;
  return static_cast<UINT>(copied);
}

BOOL DragQueryPoint(HDROP hDrop, POINT* lppt) {
  const auto* drop = dropOf(hDrop);
  if (drop == nullptr || lppt == nullptr) return FALSE;
  *lppt = drop->point;
  return TRUE;
}

void DragFinish(HDROP hDrop) {
  if (dropOf(hDrop) != nullptr) platform::sys::HandleTable::instance().remove(hDrop);
}
