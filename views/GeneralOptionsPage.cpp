#include "views/GeneralOptionsPage.h"

#include <string>

#include "device/PrivateMessages.h"
#include "device/TextError.h"
#include "pin/PinLock.h"
#include "platform/base/ResourceTable.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "platform/shell/WinMessageBox.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "settings/Settings.h"
#include "store/FriendCollection.h"
#include "views/FrameLink.h"

namespace pellucard {

namespace {

constexpr LPARAM kFirstNameFirst = 1;
constexpr LPARAM kLastNameFirst = 0;
constexpr LPARAM kPinDisabled = 0;
constexpr LPARAM kPinEnabled = 1;

std::u16string text(UINT id) { return platform::loadString(id); }

}  // namespace

GeneralOptionsPage::GeneralOptionsPage() : FormDialog(IDR_FORM_BAR, true) {}

INT_PTR GeneralOptionsPage::run(HWND parent) { return FormDialog::run(parent, text(IDS_PAGE_GENERAL)); }

void GeneralOptionsPage::createContent(HWND dialog) {
  builder_.begin(dialog);
  builder_.addChoiceRow(kNameFormatRow, text(IDS_NAME_FORMAT), {text(IDS_FNAME_LNAME), text(IDS_LNAME_FNAME)},
                        {kFirstNameFirst, kLastNameFirst});
  builder_.addChoiceRow(kPinRow, text(IDS_PIN), {text(IDS_DISABLED), text(IDS_ENABLED)}, {kPinDisabled, kPinEnabled});
  builder_.addTextRow(kPinCodeRow, text(IDS_PIN_CODE), u"", true, true);
  builder_.addTextRow(kConfirmPinRow, text(IDS_CONFIRM_PIN), u"", true, true);
  for (UINT id : {kPinCodeRow, kConfirmPinRow}) {
    // A longer PIN does not fit the lock's hash buffer.
    if (const FieldRow* row = builder_.row(id)) SendMessageW(row->field, EM_LIMITTEXT, PinLock::kMaxPinLength, 0);
  }

  builder_.selectChoiceByValue(kNameFormatRow, getSettings().fNameFirst() ? kFirstNameFirst : kLastNameFirst);
  builder_.selectChoiceByValue(kPinRow, getPinLock().isEnabled() ? kPinEnabled : kPinDisabled);
  showPinRows();
}

void GeneralOptionsPage::showPinRows() {
  const bool shown = builder_.choiceValue(kPinRow) == kPinEnabled;
  builder_.show(kPinCodeRow, shown);
  builder_.show(kConfirmPinRow, shown);
  SendMessageW(hwnd(), UM_RECOMPUTESCROLL, TRUE, TRUE);
}

bool GeneralOptionsPage::onFormCommand(WORD, WORD code, HWND from) {
  const FieldRow* pin = builder_.row(kPinRow);
  if (pin == nullptr || from != pin->field) return false;
  // The Pocket PC's list reports its choice, the Smartphone's spinner each move.
  if (code == CBN_SELCHANGE || code == CBN_SELENDOK || code == LBN_SELCHANGE) showPinRows();
  return true;
}

void GeneralOptionsPage::onDone() {
  storeNameOrder();
  applyPin();
  end(IDOK);
}

void GeneralOptionsPage::storeNameOrder() {
  const LPARAM chosen = builder_.choiceValue(kNameFormatRow);
  if (chosen != kFirstNameFirst && chosen != kLastNameFirst) return;
  Settings& settings = getSettings();
  const bool before = settings.fNameFirst();
  settings.setFNameFirst(chosen == kFirstNameFirst);
  nameOrderChanged_ = settings.fNameFirst() != before;
  if (nameOrderChanged_) getFriendCollection().resortByName();
}

void GeneralOptionsPage::applyPin() {
  PinLock& lock = getPinLock();
  const bool locked = lock.isEnabled();
  const bool enabling = builder_.choiceValue(kPinRow) == kPinEnabled;
  // A PIN that cannot be hashed cannot be checked or stored: the change fails like a wrong one.
  try {
    if (enabling) {
      const std::u16string pin = builder_.text(kPinCodeRow);
      if (pin.empty()) {
        if (!locked) tell(IDS_PIN_EMPTY, false);
      } else if (pin != builder_.text(kConfirmPinRow)) {
        tell(IDS_PIN_MISMATCH, false);
      } else if (lock.setPin(pin)) {
        tell(IDS_PIN_ENABLED, true);
      } else {
        tell(IDS_PIN_ENABLE_FAILED, false);
      }
    } else if (locked) {
      const bool disabled = lock.disable(false);
      tell(disabled ? IDS_PIN_DISABLED : IDS_PIN_DISABLE_FAILED, disabled);
    }
  } catch (const TextError&) {
    tell(enabling ? IDS_PIN_ENABLE_FAILED : IDS_PIN_DISABLE_FAILED, false);
  }
}

void GeneralOptionsPage::tell(UINT stringId, bool success) {
  FrameLink::show(hwnd(), text(stringId), MB_OK | (success ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

}  // namespace pellucard
