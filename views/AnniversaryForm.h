// The form that adds an anniversary or edits one: its name (which tells the kind: "Birthday",
// "Anniversary", ...), the friend, the date and notes. The date is stored at noon.
#pragma once

#include "store/Anniversary.h"
#include "views/ItemForm.h"

namespace pellucard {

class AnniversaryForm : public ItemForm {
 public:
  enum Row : UINT { kNameRow = 0, kFriendRow = 1, kDateRow = 2, kNotesRow = 3 };

  // The anniversary to edit (it must outlive the form), or none to add one.
  explicit AnniversaryForm(Anniversary* anniversary = nullptr) : anniversary_(anniversary) {}

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;

 private:
  Anniversary* anniversary_;
};

}  // namespace pellucard
