#include "views/ItemChooser.h"

#include <algorithm>
#include <utility>

#include "platform/base/ResourceTable.h"
#include "platform/controls/WinListBox.h"
#include "platform/win/WinUser.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "views/ColumnFit.h"

namespace pellucard {

namespace {

std::u16string listBoxText(HWND listBox, int index) {
  const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const LRESULT copied =
      SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(std::min(copied, length)) : 0);
  return text;
}

}  // namespace

ItemChooser::ItemChooser(std::u16string title, std::vector<std::u16string> texts, Mode mode)
    : WindowImpl(IDR_DONE_BAR, false), title_(std::move(title)), texts_(std::move(texts)), mode_(mode) {}

ItemChooser::ItemChooser(std::u16string title, HWND listBox)
    : WindowImpl(IDR_DONE_BAR, false), title_(std::move(title)), listBox_(listBox), mode_(Mode::Single) {}

const platform::MessageMap<ItemChooser>& ItemChooser::messageMap() {
  using M = ItemChooser;
  static const auto map =
      platform::MessageMap<M>().on<WM_HOTKEY>(&M::onHotKey).chain(FormDialog::messageMap()).reflectNotifications();
  return map;
}

std::optional<int> ItemChooser::chooseOne(HWND owner, const std::u16string& title,
                                          const std::vector<std::u16string>& texts, int initial) {
  ItemChooser chooser(title, texts, Mode::Single);
  chooser.setInitialRow(initial);
  if (chooser.run(owner) != IDOK || chooser.chosenPosition() < 0) return std::nullopt;
  return chooser.chosenPosition();
}

std::optional<std::vector<int>> ItemChooser::chooseMany(HWND owner, const std::u16string& title,
                                                        const std::vector<std::u16string>& texts,
                                                        const std::vector<int>& checked) {
  ItemChooser chooser(title, texts, Mode::Multi);
  chooser.setInitialChecks(checked);
  if (chooser.run(owner) != IDOK) return std::nullopt;
  return chooser.chosenPositions();
}

bool ItemChooser::chooseInListBox(HWND owner, HWND listBox) {
  if (listBox == nullptr || !IsWindow(listBox)) return false;
  ItemChooser chooser(platform::loadString(IDS_SELECT_ITEM), listBox);
  return chooser.run(owner) == IDOK && chooser.chosenPosition() >= 0;
}

INT_PTR ItemChooser::run(HWND parent) { return FormDialog::run(parent, title_); }

HWND ItemChooser::open(HWND parent) { return FormDialog::open(parent, title_); }

// ---------------------------------------------------------------------------------------------
// Content

void ItemChooser::createContent(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  if (list_.create(dialog, client, u"Items", kListId) == nullptr) return;
  // The rows' height comes from the font: the dialog's, before the first row is measured.
  SendMessageW(list_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(plainFont()), FALSE);
  if (mode_ == Mode::Multi && listBox_ == nullptr) list_.setCheckBoxes(true);
  SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
  fill();
  ColumnFit::fit(list_.hwnd());
  int first = initialRow_;
  if (listBox_ != nullptr) first = static_cast<int>(SendMessageW(listBox_, LB_GETCURSEL, 0, 0));
  list_.select(first >= 0 && first < list_.count() ? first : 0);
  SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
  // The selected row is brought into view once the list lays out its scroll bar again.
  if (const int selected = list_.selectedIndex(); selected >= 0) ListView_EnsureVisible(list_.hwnd(), selected, FALSE);
  SetFocus(list_.hwnd());
}

void ItemChooser::fill() {
  if (listBox_ != nullptr) {
    const auto count = static_cast<int>(SendMessageW(listBox_, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) list_.addRow(listBoxText(listBox_, i), i);
    return;
  }
  for (std::size_t i = 0; i < texts_.size(); ++i) list_.addRow(texts_[i], static_cast<LPARAM>(i));
  if (mode_ != Mode::Multi) return;
  for (int position : initialChecks_) list_.setChecked(position, true);
}

void ItemChooser::onLayoutChanged() {
  if (list_.hwnd() == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  SetWindowPos(list_.hwnd(), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  ColumnFit::fit(list_.hwnd());
}

// ---------------------------------------------------------------------------------------------
// Done and Back

void ItemChooser::choose(int row) {
  const auto position = static_cast<int>(list_.dataAt(row));
  std::u16string text = list_.textAt(row);
  if (text.size() > kMaxChosenText) text.resize(kMaxChosenText);
  chosenPositions_.push_back(position);
  chosenTexts_.push_back(std::move(text));
}

void ItemChooser::onDone() {
  chosenPositions_.clear();
  chosenTexts_.clear();
  chosenPosition_ = -1;
  if (mode_ == Mode::Multi && listBox_ == nullptr) {
    // The search narrows the rows: every row comes back with its check before they are read.
    list_.clearSearch();
    for (int row = 0; row < list_.count(); ++row) {
      if (list_.isChecked(row)) choose(row);
    }
  } else if (const int row = list_.selectedIndex(); row >= 0) {
    choose(row);
    chosenPosition_ = chosenPositions_.front();
    if (listBox_ != nullptr && IsWindow(listBox_)) SendMessageW(listBox_, LB_SETCURSEL, chosenPosition_, 0);
  }
  end(IDOK);
}

LRESULT ItemChooser::onHotKey(int id, UINT modifiers, UINT vk) {
  if (vk != VK_TBACK) {
    passOn();
    return 0;
  }
  if (list_.backKeyCancels(id, modifiers, vk)) end(IDCANCEL);
  return TRUE;
}

}  // namespace pellucard
