#include "platform/shell/FullScreenPickList.h"

#include "platform/controls/ControlLook.h"
#include "platform/controls/WinListBox.h"

namespace platform::shell {
namespace {

constexpr UINT kListId = 100;

}  // namespace

int FullScreenPickList::run(const controls::ListExpansion& request) {
  FullScreenPickList picker(request);
  if (!picker.FullScreenPage::run(request.owner, request.title)) return -1;
  return picker.chosen_;
}

void FullScreenPickList::createContent(HWND page, const RECT& client) {
  list_ = CreateWindowExW(0, WC_LISTBOXW, u"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                          client.left, client.top, client.right - client.left, client.bottom - client.top, page,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)), nullptr, nullptr);
  if (list_ == nullptr) return;
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(controls::systemFont()), FALSE);
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  for (const std::u16string& item : request_.items) {
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  const int count = static_cast<int>(request_.items.size());
  const int start = request_.selected >= 0 && request_.selected < count ? request_.selected : 0;
  if (count > 0) SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(start), 0);
  SetFocus(list_);
}

void FullScreenPickList::layout(const RECT& client) {
  if (list_ == nullptr || !IsWindow(list_)) return;
  MoveWindow(list_, client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
  const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (selected >= 0) SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void FullScreenPickList::accept() {
  if (list_ == nullptr || !IsWindow(list_)) return;
  chosen_ = static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
}

void FullScreenPickList::onCommand(HWND from, WORD code) {
  // A double tap on an item chooses it.
  if (from == list_ && code == LBN_DBLCLK) finish();
}

}  // namespace platform::shell
