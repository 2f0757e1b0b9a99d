// "Enter Text": the full-screen editor behind an expandable text field. One multi-line edit
// fills the screen with the field's text; Done writes the edited text back into the field,
// Cancel leaves the field as it was.
#pragma once

#include <string>

#include "forms/FormDialog.h"
#include "resources/CommandIds.h"

namespace pellucard {

class TextEntryDialog : public platform::WindowImpl<TextEntryDialog, FormDialog> {
 public:
  // Done only.
  static constexpr UINT kMenuBarId = IDR_TEXT_ENTRY_BAR;

  // The text to edit, and the edit that Done writes the result into (none: the caller reads
  // text()).
  explicit TextEntryDialog(std::u16string text, HWND buddy = nullptr);

  static const platform::MessageMap<TextEntryDialog>& messageMap();

  // Runs it over `parent`; IDOK or IDCANCEL.
  INT_PTR run(HWND parent);
  // After Done the edited text; after Cancel empty.
  const std::u16string& text() const { return text_; }
  HWND editWindow() const { return edit_; }

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;
  void onCancel() override;

 private:
  void onSize(UINT type, SIZE client);
  RECT editRect() const;

  std::u16string text_;
  HWND buddy_;
  HWND edit_ = nullptr;
};

}  // namespace pellucard
