// The form that adds a gift or edits one: its name, whether it was received from the friend,
// given to the friend or is an idea, the friend, the date and notes.
#pragma once

#include "store/Gift.h"
#include "views/ItemForm.h"

namespace pellucard {

class GiftForm : public ItemForm {
 public:
  enum Row : UINT { kNameRow = 0, kCategoryRow = 1, kFriendRow = 2, kDateRow = 3, kNotesRow = 4 };

  // The gift to edit (it must outlive the form), or none to add one.
  explicit GiftForm(Gift* gift = nullptr) : gift_(gift) {}

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;

 private:
  Gift* gift_;
};

}  // namespace pellucard
