// The full-screen pick list an expandable Smartphone list field opens: the field's items in a
// list over the whole page, titled with the field's label, the field's item chosen and in view.
// Done (or the action key, or a double tap) chooses the selected item, Cancel or Back nothing.
#pragma once

#include "platform/controls/FieldExpander.h"
#include "platform/shell/FullScreenPage.h"

namespace platform::shell {

class FullScreenPickList : public FullScreenPage {
 public:
  explicit FullScreenPickList(const controls::ListExpansion& request) : request_(request) {}

  // The chosen item, -1 on Cancel (the FieldExpander's pick list).
  static int run(const controls::ListExpansion& request);

 protected:
  void createContent(HWND page, const RECT& client) override;
  void layout(const RECT& client) override;
  void accept() override;
  void onCommand(HWND from, WORD code) override;

 private:
  controls::ListExpansion request_;
  HWND list_ = nullptr;
  int chosen_ = -1;
};

}  // namespace platform::shell
