// The General page of the options: the order of first and last name, and the PIN lock. The two
// PIN fields show only while "Enabled" is chosen. Done stores the name order at once, then
// turns the lock on, changes the PIN or turns the lock off, asking for the current PIN where
// the lock wants it and saying in a message how that went; the page closes in every case.
#pragma once

#include "forms/FormBuilder.h"
#include "forms/FormDialog.h"

namespace pellucard {

class GeneralOptionsPage : public FormDialog {
 public:
  enum Row : UINT { kNameFormatRow = 0, kPinRow = 1, kPinCodeRow = 2, kConfirmPinRow = 3 };

  GeneralOptionsPage();

  INT_PTR run(HWND parent);
  // Whether Done changed the name order; the friends are then in the new order already.
  bool nameOrderChanged() const { return nameOrderChanged_; }
  const FormBuilder& builder() const { return builder_; }

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;
  bool onFormCommand(WORD id, WORD code, HWND from) override;

 private:
  void showPinRows();
  void storeNameOrder();
  void applyPin();
  void tell(UINT stringId, bool success);

  FormBuilder builder_;
  bool nameOrderChanged_ = false;
};

}  // namespace pellucard
