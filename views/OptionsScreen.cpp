#include "views/OptionsScreen.h"

#include "device/PrivateMessages.h"
#include "platform/base/ResourceTable.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "views/AnniversaryOptionsPage.h"
#include "views/GeneralOptionsPage.h"
#include "views/LoanOptionsPage.h"

namespace pellucard {

OptionsScreen::OptionsScreen() : WindowImpl(IDR_DONE_BAR, false) {}

const platform::MessageMap<OptionsScreen>& OptionsScreen::messageMap() {
  using M = OptionsScreen;
  static const auto map = platform::MessageMap<M>()
                              .on(UM_ITEMCHOSEN, &M::onItemChosen)
                              .chain(FormDialog::messageMap())
                              .reflectNotifications();
  return map;
}

INT_PTR OptionsScreen::run(HWND parent) {
  owner_ = parent;
  return FormDialog::run(parent, platform::loadString(IDS_OPTIONS));
}

void OptionsScreen::createContent(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  list_.create(dialog, client, kListId);
  // The entries carry their page, so that a page opens as itself even after the "0" key took
  // an entry out of the list.
  list_.setEntries({{platform::loadString(IDS_PAGE_GENERAL), kGeneralPage},
                    {platform::loadString(IDS_PAGE_ANNIVERSARIES), kAnniversariesPage},
                    {platform::loadString(IDS_PAGE_LOANS), kLoansPage}});
  if (list_.hwnd() != nullptr) SetFocus(list_.hwnd());
}

void OptionsScreen::onLayoutChanged() {
  if (list_.hwnd() == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  SetWindowPos(list_.hwnd(), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OptionsScreen::onItemChosen(WPARAM, LPARAM page) {
  openPage(static_cast<int>(page));
  return 0;
}

bool OptionsScreen::openPage(int page) {
  switch (page) {
    case kGeneralPage: {
      GeneralOptionsPage general;
      general.run(hwnd());
      if (general.nameOrderChanged() && owner_ != nullptr) SendMessageW(owner_, UM_RELOADLIST, 0, 0);
      return true;
    }
    case kAnniversariesPage:
      AnniversaryOptionsPage().run(hwnd());
      return true;
    case kLoansPage:
      LoanOptionsPage().run(hwnd());
      return true;
    default:
      return false;
  }
}

}  // namespace pellucard
