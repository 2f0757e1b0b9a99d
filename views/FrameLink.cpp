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

std::u16string FrameLink::textWith(UINT stringId, std::u16string_view value) {
  std::u16string text = platform::loadString(stringId);
  if (const std::size_t at = text.find(u"%s"); at != std::u16string::npos) text.replace(at, 2, value);
  return text;
}

void FrameLink::reportExport(HWND owner, ExportCommands::Outcome outcome, bool loans) {
  const std::optional<ExportCommands::Message> message = ExportCommands::messageFor(outcome, loans);
  if (!message) return;
  const UINT icon = message->icon == ExportCommands::Icon::Information ? MB_ICONINFORMATION : MB_ICONEXCLAMATION;
  show(owner, platform::loadString(message->stringId), MB_OK | icon);
}

}  // namespace pellucard
