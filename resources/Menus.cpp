#include "resources/Menus.h"

#include <utility>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "platform/win/WinUser.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"

namespace pellucard {

namespace {

using platform::AcceleratorResource;
using platform::MenuBarButtonResource;
using platform::MenuBarResource;
using platform::MenuItemResource;
using platform::MenuResource;

MenuItemResource item(UINT id, const char16_t* text) { return MenuItemResource::command(id, text); }
MenuItemResource separator() { return MenuItemResource::separator(); }
MenuItemResource popup(const char16_t* text, std::vector<MenuItemResource> items) {
  return MenuItemResource::popup(text, std::move(items));
}

// The right soft key that opens a screen's menu.
constexpr UINT kMenuButton = 1000;

// The application submenu at the bottom of every screen menu; the frame handles its commands.
MenuItemResource applicationMenu() {
  return popup(u"Pellucard", {item(ID_APP_OPTIONS, u"Options"), separator(), item(ID_APP_ABOUT, u"About"),
                              item(ID_APP_HELP, u"Help"), separator(), item(ID_APP_EXIT, u"Exit")});
}

// A menu resource whose single popup is what the right soft key opens.
MenuResource softKeyMenu(std::vector<MenuItemResource> items) {
  MenuResource menu;
  menu.items.push_back(popup(u"Menu", std::move(items)));
  return menu;
}

// Left button: a command; right button "Menu" (id 1000) opening the menu's popup.
MenuBarResource softKeyBar(UINT menuId, UINT leftCommand, UINT leftText) {
  MenuBarButtonResource left;
  left.command = leftCommand;
  left.stringId = leftText;
  MenuBarButtonResource right;
  right.command = kMenuButton;
  right.stringId = IDS_MENU;
  right.style = 0x18;
  right.subMenu = 0;
  MenuBarResource bar;
  bar.menuId = menuId;
  bar.buttons = {left, right};
  return bar;
}

MenuResource friendsMenu() {
  return softKeyMenu({item(ID_FRIEND_ADD, u"Add Friend"), item(ID_FRIEND_EDIT, u"Edit Friend"),
                      item(ID_FRIEND_REMOVE, u"Remove Friend"), separator(),
                      item(ID_IMPORT_CONTACTS, u"Import Contacts"),
                      popup(u"Backup", {item(ID_BACKUP_CREATE, u"Create"), item(ID_BACKUP_RESTORE, u"Restore")}),
                      separator(), applicationMenu()});
}

MenuResource giftsMenu() {
  return softKeyMenu({item(ID_GIFT_ADD, u"Add Gift"), item(ID_GIFT_EDIT, u"Edit Gift"),
                      item(ID_GIFT_REMOVE, u"Remove Gift"), separator(),
                      popup(u"Sort By", {item(ID_GIFT_SORT_GIFT, u"Gift"), item(ID_GIFT_SORT_DATE, u"Date"),
                                         item(ID_GIFT_SORT_FRIEND, u"Friend Name")}),
                      popup(u"Filter", {item(ID_GIFT_FILTER_ALL, u"All Gifts"), item(ID_GIFT_FILTER_FROM, u"From"),
                                        item(ID_GIFT_FILTER_TO, u"To"), item(ID_GIFT_FILTER_IDEAS, u"Ideas")}),
                      separator(), applicationMenu()});
}

MenuResource loansMenu() {
  return softKeyMenu(
      {item(ID_LOAN_ADD, u"Add Loan"), item(ID_LOAN_EDIT, u"Edit Loan"), item(ID_LOAN_REMOVE, u"Remove Loan"),
       separator(),
       popup(u"Sort By", {item(ID_LOAN_SORT_ITEM, u"Item"), item(ID_LOAN_SORT_LOAN_DATE, u"Loan Date"),
                          item(ID_LOAN_SORT_RETURN_DATE, u"Return Date"), item(ID_LOAN_SORT_FRIEND, u"Friend Name")}),
       popup(u"Filter", {item(ID_LOAN_FILTER_ALL, u"All Loans"), item(ID_LOAN_FILTER_FROM, u"From"),
                         item(ID_LOAN_FILTER_TO, u"To"), item(ID_LOAN_FILTER_OVERDUE, u"Overdue")}),
       item(ID_EXPORT_TASKS, u"Export to Tasks"), separator(), applicationMenu()});
}

MenuResource anniversariesMenu() {
  return softKeyMenu(
      {item(ID_ANNIVERSARY_ADD, u"Add Anniversary"), item(ID_ANNIVERSARY_EDIT, u"Edit Anniversary"),
       item(ID_ANNIVERSARY_REMOVE, u"Remove Anniversary"), separator(),
       popup(u"Sort By",
             {item(ID_ANNIVERSARY_SORT_NAME, u"Name"), item(ID_ANNIVERSARY_SORT_DATE, u"Date"),
              item(ID_ANNIVERSARY_SORT_DAY, u"Day of year"), item(ID_ANNIVERSARY_SORT_FRIEND, u"Friend Name")}),
       popup(u"Filter",
             {item(ID_ANNIVERSARY_FILTER_ALL, u"All Anniversaries"), item(ID_ANNIVERSARY_FILTER_NEAREST, u"Nearest")}),
       item(ID_EXPORT_CALENDAR, u"Export to Calendar"), separator(), applicationMenu()});
}

// The friend details screen inserts "Switch to Friends View" after its own items.
MenuResource friendDetailsMenu() {
  return softKeyMenu({item(ID_FRIEND_EDIT, u"Edit Friend"), item(ID_SHOW_CONTACT_INFO, u"Show Contact Info"),
                      separator(), applicationMenu()});
}

MenuResource itemViewMenu() {
  return softKeyMenu({item(ID_ITEM_FRIEND_DETAILS, u"Friend Details"), separator(), item(ID_ITEM_REMOVE, u"Remove"),
                      item(ID_ITEM_CANCEL, u"Cancel")});
}

MenuBarButtonResource button(UINT command, UINT text) {
  MenuBarButtonResource b;
  b.command = command;
  b.stringId = text;
  return b;
}

// The right button of a form that has only Done: empty and greyed.
MenuBarButtonResource emptyButton() {
  MenuBarButtonResource b;
  b.state = 0;
  return b;
}

MenuBarResource formBar(MenuBarButtonResource left, MenuBarButtonResource right, UINT menuId = 0) {
  MenuBarResource bar;
  bar.menuId = menuId;
  bar.buttons = {left, right};
  return bar;
}

MenuResource importMenu() {
  return softKeyMenu({item(ID_IMPORT_SELECT_ALL, u"Select all"), item(ID_IMPORT_DESELECT_ALL, u"Deselect all"),
                      popup(u"By Category", {item(ID_IMPORT_MORE_CATEGORIES, u"More...")}), separator(),
                      item(IDCANCEL, u"Cancel")});
}

MenuResource avatarMenu() {
  return softKeyMenu({item(ID_AVATAR_SELECT_PICTURE, u"Select Picture"), separator(), item(IDCANCEL, u"Cancel")});
}

void registerFormMenus(platform::ResourceTable& table) {
  table.addMenu(IDR_IMPORT_MENU, importMenu());
  table.addMenu(IDR_AVATAR_MENU, avatarMenu());
  MenuBarButtonResource menu = button(kMenuButton, IDS_MENU);
  menu.style = 0x18;
  menu.subMenu = 0;
  table.addMenuBar(IDR_IMPORT_BAR, formBar(button(IDOK, IDS_DONE), menu, IDR_IMPORT_MENU));
  table.addMenuBar(IDR_FORM_BAR, formBar(button(IDOK, IDS_DONE), button(IDCANCEL, IDS_CANCEL)));
  table.addMenuBar(IDR_DONE_BAR, formBar(button(IDOK, IDS_DONE), emptyButton()));
  table.addMenuBar(IDR_AVATAR_BAR, formBar(button(IDOK, IDS_DONE), menu, IDR_AVATAR_MENU));
  table.addMenuBar(IDR_DONE_CANCEL_BAR, formBar(button(IDOK, IDS_DONE_BUTTON), button(IDCANCEL, IDS_CANCEL_BUTTON)));
  table.addMenuBar(IDR_TEXT_ENTRY_BAR, formBar(button(IDOK, IDS_DONE_BUTTON), emptyButton()));
}

}  // namespace

void registerMenus() {
  auto& table = platform::ResourceTable::instance();
  table.addMenu(IDR_FRIENDS_MENU, friendsMenu());
  table.addMenu(IDR_GIFTS_MENU, giftsMenu());
  table.addMenu(IDR_LOANS_MENU, loansMenu());
  table.addMenu(IDR_ANNIVERSARIES_MENU, anniversariesMenu());
  table.addMenu(IDR_FRIEND_DETAILS_MENU, friendDetailsMenu());
  table.addMenu(IDR_ITEM_VIEW_MENU, itemViewMenu());

  table.addMenuBar(IDR_FRIENDS_BAR, softKeyBar(IDR_FRIENDS_MENU, ID_FRIEND_DETAILS, IDS_DETAILS));
  table.addMenuBar(IDR_GIFTS_BAR, softKeyBar(IDR_GIFTS_MENU, ID_GIFT_DETAILS, IDS_DETAILS));
  table.addMenuBar(IDR_LOANS_BAR, softKeyBar(IDR_LOANS_MENU, ID_LOAN_DETAILS, IDS_DETAILS));
  table.addMenuBar(IDR_ANNIVERSARIES_BAR, softKeyBar(IDR_ANNIVERSARIES_MENU, ID_ANNIVERSARY_DETAILS, IDS_DETAILS));
  table.addMenuBar(IDR_FRIEND_DETAILS_BAR, softKeyBar(IDR_FRIEND_DETAILS_MENU, ID_FRIEND_EDIT, IDS_EDIT));
  table.addMenuBar(IDR_ITEM_VIEW_BAR, softKeyBar(IDR_ITEM_VIEW_MENU, ID_ITEM_EDIT, IDS_EDIT));

  registerFormMenus(table);

  // For devices with a keyboard: Ctrl+Q leaves, Ctrl+H opens the help.
  table.addAccelerators(IDR_ACCELERATORS,
                        {AcceleratorResource{FVIRTKEY | FCONTROL, 'Q', static_cast<WORD>(ID_APP_EXIT)},
                         AcceleratorResource{FVIRTKEY | FCONTROL, 'H', static_cast<WORD>(ID_APP_HELP)}});
}

}  // namespace pellucard
