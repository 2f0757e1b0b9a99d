// A full-screen page that lets the user pick from a list of texts: "Select an Item" behind the
// Smartphone's choice rows, "Select Contact", the categories behind "More...". The texts fill a
// ChooserList, so typing narrows them with the keypad search; Back first edits that search and
// otherwise cancels. Done (the soft key, or the title bar's ok on Pocket PC) ends with OK.
//
// Single mode chooses the selected row. Multi mode shows check boxes and chooses every checked
// row, in list order, however the search narrowed the rows while the user checked them. Over a
// form row's list box the chooser opens on the list box's current item and Done moves the list
// box's selection to the chosen one.
//
// The chooser is a stack object of its caller, which reads the result after the run; the
// static calls do both at once.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/FormDialog.h"
#include "views/ChooserList.h"

namespace pellucard {

class ItemChooser : public platform::WindowImpl<ItemChooser, FormDialog> {
 public:
  enum class Mode : int { Single = 0, Multi = 1 };
  static constexpr UINT kListId = 100;
  // The longest chosen text kept whole; longer texts are cut.
  static constexpr std::size_t kMaxChosenText = 128;

  // Over a list of texts, which the chooser copies.
  ItemChooser(std::u16string title, std::vector<std::u16string> texts, Mode mode);
  // Over a form row's list box, which must outlive the run; always single.
  ItemChooser(std::u16string title, HWND listBox);

  static const platform::MessageMap<ItemChooser>& messageMap();

  // Picks one of the texts; the row `initial` is selected first. The chosen position, or none
  // when the user cancelled (or the list was empty).
  static std::optional<int> chooseOne(HWND owner, const std::u16string& title, const std::vector<std::u16string>& texts,
                                      int initial = 0);
  // Picks any number of the texts; the rows at `checked` start checked. The positions of the
  // checked rows in list order, empty when none is checked, or none when the user cancelled.
  static std::optional<std::vector<int>> chooseMany(HWND owner, const std::u16string& title,
                                                    const std::vector<std::u16string>& texts,
                                                    const std::vector<int>& checked = {});
  // "Select an Item" over a form row's list box; true when the user chose an item (the list
  // box's selection has then moved to it).
  static bool chooseInListBox(HWND owner, HWND listBox);

  // Before the run: the row selected first (texts only; a list box opens on its own current
  // item) and, in multi mode, the rows checked first.
  void setInitialRow(int position) { initialRow_ = position; }
  void setInitialChecks(std::vector<int> positions) { initialChecks_ = std::move(positions); }

  // Runs modally over `parent`; IDOK or IDCANCEL.
  INT_PTR run(HWND parent);
  // Opens without a loop of its own (see FormDialog::open).
  HWND open(HWND parent);

  Mode mode() const { return mode_; }
  // The chosen position, -1 until Done chose one.
  int chosenPosition() const { return chosenPosition_; }
  // The chosen positions in list order (multi mode: every checked row; otherwise the one).
  const std::vector<int>& chosenPositions() const { return chosenPositions_; }
  // Their texts, each cut to kMaxChosenText characters.
  const std::vector<std::u16string>& chosenTexts() const { return chosenTexts_; }
  const ChooserList& list() const { return list_; }

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;
  void onLayoutChanged() override;
  bool wantsBackKey() const override { return true; }

 private:
  LRESULT onHotKey(int id, UINT modifiers, UINT vk);
  void fill();
  void choose(int row);

  std::u16string title_;
  std::vector<std::u16string> texts_;
  HWND listBox_ = nullptr;
  Mode mode_;
  int initialRow_ = 0;
  std::vector<int> initialChecks_;
  ChooserList list_;
  int chosenPosition_ = -1;
  std::vector<int> chosenPositions_;
  std::vector<std::u16string> chosenTexts_;
};

}  // namespace pellucard
