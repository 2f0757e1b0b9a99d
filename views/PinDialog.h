// "PIN Protection": asks for the PIN. A prompt line over one field that takes digits only and
// shows stars, at most as many as a PIN can have; Done keeps the text, Cancel and Back give
// nothing. The PIN lock asks through it when the program starts and before the PIN is changed
// or removed.
#pragma once

#include <optional>
#include <string>

#include "forms/FormDialog.h"

namespace pellucard {

class PinDialog : public FormDialog {
 public:
  PinDialog();

  // Runs it over `parent` (none at start-up, before the main window shows); the PIN entered,
  // or nothing when the user cancelled. Fits the PIN lock's prompt.
  static std::optional<std::u16string> ask(HWND parent);

  INT_PTR run(HWND parent);
  // After Done, the text entered.
  const std::u16string& pin() const { return pin_; }
  HWND field() const { return edit_; }

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;
  void onLayoutChanged() override { place(); }

 private:
  void place();

  HWND prompt_ = nullptr;
  HWND edit_ = nullptr;
  std::u16string pin_;
};

}  // namespace pellucard
