// "Select an Avatar": the built-in avatars as a grid of cells of the screen layout's picker cell,
// the selected one framed in the highlight colour. Taps and the arrows select (Left and Right
// wrap within the row, Up and Down within the column), Enter or Done chooses; "Select Picture"
// in the menu picks a picture file in the shell's file chooser instead. A grid taller than the
// screen scrolls to keep the selection in view.
#pragma once

#include <string>

#include "forms/FormDialog.h"

namespace pellucard {

class AvatarPicker : public platform::WindowImpl<AvatarPicker, FormDialog> {
 public:
  // The result of a picture file rather than an avatar.
  static constexpr LONG kPictureFile = -1;
  // The frame around the selected cell.
  static constexpr int kFrameWidth = 5;

  AvatarPicker();

  static const platform::MessageMap<AvatarPicker>& messageMap();

  // The avatar selected when the picker opens; an index that names no avatar selects the first.
  void preselect(LONG index);
  // Runs it over `parent`: IDOK with chosen() set, or IDCANCEL.
  INT_PTR run(HWND parent);

  // After IDOK: the chosen avatar, or kPictureFile with the file in picturePath(). kPictureFile
  // before.
  LONG chosen() const { return chosen_; }
  // The device path of the chosen picture file; empty unless chosen() is kPictureFile.
  const std::u16string& picturePath() const { return picturePath_; }

  int selected() const { return selected_; }
  // The avatars the grid offers: the frames of the medium avatar strip.
  static int avatarCount();
  // A cell, and how many of them a row holds at the current width.
  SIZE cellSize() const { return cell_; }
  int columns() const;
  // The cell of an avatar in client coordinates, after scrolling.
  RECT cellRect(int index) const;

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;
  bool onFormCommand(WORD id, WORD code, HWND from) override;
  void onLayoutChanged() override;

 private:
  void onPaint();
  bool onEraseBackground(HDC) { return true; }
  LRESULT onGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTALLKEYS; }
  void onKeyDown(UINT vk, UINT flags);
  void onStylusDown(POINT point, UINT flags);
  LRESULT onDoubleTap(WPARAM flags, LPARAM point);

  void draw(HDC dc, const RECT& client) const;
  void select(int index);
  // The selection after an arrow key.
  int moved(UINT vk) const;
  int rows() const;
  // Scrolls as little as needed to show the selected cell whole.
  void keepSelectionInView();
  void choosePictureFile();

  int selected_ = 0;
  LONG chosen_ = kPictureFile;
  std::u16string picturePath_;
  SIZE cell_{80, 88};
  int scrollTop_ = 0;
};

}  // namespace pellucard
