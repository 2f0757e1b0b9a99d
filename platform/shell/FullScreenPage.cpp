#include "platform/shell/FullScreenPage.h"

#include <vector>

#include "platform/shell/AygShell.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"

namespace platform::shell {
namespace {

constexpr const char16_t* kDone = u"Done";
constexpr const char16_t* kCancel = u"Cancel";

// The in-memory template: a captioned popup, no controls, no menu, the default class.
std::vector<WORD> pageTemplate(const std::u16string& title) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = WS_POPUP | WS_CAPTION;
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  for (char16_t c : title) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}

}  // namespace

bool FullScreenPage::run(HWND owner, const std::u16string& title) {
  startShell();
  const std::vector<WORD> tpl = pageTemplate(title);
  const INT_PTR result = DialogBoxIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(tpl.data()), owner,
                                                 &FullScreenPage::dialogProc, reinterpret_cast<LPARAM>(this));
  page_ = nullptr;
  menuBar_ = nullptr;
  return result == IDOK;
}

void FullScreenPage::finish() {
  if (page_ != nullptr) PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
}

INT_PTR CALLBACK FullScreenPage::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<FullScreenPage*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->page_ = hwnd;
  }
  auto* self = reinterpret_cast<FullScreenPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  return self != nullptr ? self->handle(message, wParam, lParam) : FALSE;
}

RECT FullScreenPage::clientRect() const {
  RECT rc{};
  GetClientRect(page_, &rc);
  return rc;
}

void FullScreenPage::createMenuBar() {
  SoftKeyButton done;
  done.command = IDOK;
  done.text = kDone;
  SoftKeyButton cancel;
  cancel.command = IDCANCEL;
  cancel.text = kCancel;
  menuBar_ = MenuBar::create(page_, {done, cancel});
  // Back deletes in the field rather than leaving the page.
  if (menuBar_ != nullptr && backDeletes()) {
    SendMessageW(menuBar_, SHCMBM_OVERRIDEKEY, VK_ESCAPE,
                 MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
  }
}

INT_PTR FullScreenPage::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      createMenuBar();
      SHINITDLGINFO init{};
      init.dwMask = SHIDIM_FLAGS;
      init.hDlg = page_;
      init.dwFlags = SHIDIF_SIZEDLGFULLSCREEN | (pocketPc() ? SHIDIF_DONEBUTTON : 0);
      SHInitDialog(&init);
      createContent(page_, clientRect());
      return FALSE;  // the content gave the focus
    }
    case WM_SIZE:
      layout(clientRect());
      return TRUE;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETSIPINFO) {
        SHACTIVATEINFO info{};
        info.cbSize = sizeof(info);
        SHHandleWMSettingChange(page_, wParam, lParam, &info);
      }
      return FALSE;
    case WM_HOTKEY:
      if (HIWORD(static_cast<DWORD_PTR>(lParam)) == VK_ESCAPE) {
        SHSendBackToFocusWindow(message, wParam, lParam);
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == GetDlgItem(page_, id)) {
        if (id == IDOK) {
          accept();
          EndDialog(page_, IDOK);
          return TRUE;
        }
        if (id == IDCANCEL) {
          EndDialog(page_, IDCANCEL);
          return TRUE;
        }
      }
      onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return TRUE;
    }
    case WM_DESTROY:
      if (menuBar_ != nullptr && IsWindow(menuBar_)) DestroyWindow(menuBar_);
      menuBar_ = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace platform::shell
