// The full-screen editor an expandable Smartphone text field opens: the field's text in a
// multi-line edit over the whole page, titled with the field's label; Done gives the edited text
// back, Cancel nothing. The field's number, password and read-only styles and its limit carry over.
#pragma once

#include <optional>
#include <string>

#include "platform/controls/FieldExpander.h"
#include "platform/shell/FullScreenPage.h"

namespace platform::shell {

class FullScreenEditor : public FullScreenPage {
 public:
  explicit FullScreenEditor(const controls::TextExpansion& request) : request_(request) {}

  // The edited text on Done, nothing on Cancel (the FieldExpander's text editor).
  static std::optional<std::u16string> run(const controls::TextExpansion& request);

 protected:
  void createContent(HWND page, const RECT& client) override;
  void layout(const RECT& client) override;
  void accept() override;
  bool backDeletes() const override;

 private:
  static RECT editRect(const RECT& client);

  controls::TextExpansion request_;
  HWND edit_ = nullptr;
  std::optional<std::u16string> result_;
};

}  // namespace platform::shell
