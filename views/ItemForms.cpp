#include "views/ItemForms.h"

#include "store/AnniversaryCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "views/AnniversaryForm.h"
#include "views/GiftForm.h"
#include "views/LoanForm.h"

namespace pellucard {

namespace {

template <class Form, class Collection>
bool runOn(HWND owner, Collection& items, RecordId record, LONG presetFriend) {
  auto* item = record != 0 ? items.find(record) : nullptr;
  if (record != 0 && item == nullptr) return false;
  Form form(item);
  form.setPresetFriend(presetFriend);
  return form.run(owner) == IDOK;
}

}  // namespace

bool ItemForms::runItemForm(HWND owner, int kind, RecordId record, LONG presetFriend) {
  switch (kind) {
    case kGift:
      return runOn<GiftForm>(owner, getGiftCollection(), record, presetFriend);
    case kLoan:
      return runOn<LoanForm>(owner, getLoanCollection(), record, presetFriend);
    case kAnniversary:
      return runOn<AnniversaryForm>(owner, getAnniversaryCollection(), record, presetFriend);
    default:
      return false;
  }
}

}  // namespace pellucard
