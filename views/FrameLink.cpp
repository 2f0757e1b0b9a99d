#include "views/FrameLink.h"

#include "platform/base/ResourceTable.h"
#include "platform/shell/WinMessageBox.h"
#include "resources/StringIds.h"

namespace pellucard {

void FrameLink::sendBackRelease(HWND frame) {
  if (frame != nullptr) SendMessageW(frame, WM_HOTKEY, 0, kBackRelease);
}

int FrameLink::show(HWND owner, const std::u16string& text, UINT type) {
  const std::u16string caption = platform::loadString(IDS_APP_TITLE);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

bool FrameLink::confirmDelete(HWND owner) {
  return show(owner, platform::loadString(IDS_CONFIRM_DELETE), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace pellucard
