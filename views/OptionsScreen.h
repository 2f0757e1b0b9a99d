// "Options": the numbered list of the option pages (General, Anniversaries, Loans). Choosing one
// opens it as a form of its own, whose Done stores its values at once; Done here only closes
// the list. When the name order changed, the window the screen was opened over is told to
// reload every list (UM_RELOADLIST with 0).
#pragma once

#include "forms/FormDialog.h"
#include "views/NumberedList.h"

namespace pellucard {

class OptionsScreen : public platform::WindowImpl<OptionsScreen, FormDialog> {
 public:
  enum Page : int { kGeneralPage = 0, kAnniversariesPage = 1, kLoansPage = 2 };
  static constexpr UINT kListId = 100;

  OptionsScreen();

  static const platform::MessageMap<OptionsScreen>& messageMap();

  INT_PTR run(HWND parent);
  // Opens a page over the screen and returns when it closes; false for a number that names no
  // page.
  bool openPage(int page);
  const NumberedList& list() const { return list_; }

 protected:
  void createContent(HWND dialog) override;
  void onLayoutChanged() override;

 private:
  LRESULT onItemChosen(WPARAM index, LPARAM page);

  NumberedList list_;
  HWND owner_ = nullptr;
};

}  // namespace pellucard
