// The full-screen modal dialog behind every secondary screen. It runs from a template built in
// memory (no controls, no size: the shell sizes it), and on WM_INITDIALOG creates the screen's
// soft-key menubar, its bold font and the shell's full-screen frame, lets the screen create its
// controls, gives them the dialog's font and takes the Back key from the menubar when there is
// an edit to hand it to. Back then deletes a character in an edit, closes a list or calendar a
// field dropped, and otherwise cancels the dialog when the key comes up.
//
// It keeps itself fitted to the screen: after a rotation it widens the fields to the new width
// and shortens itself by as much, on Pocket PC it ends above the input panel while the panel is
// up, and a scrolling dialog scrolls its content by 14-pixel lines and by pages, paging on its
// own when a field below or above the visible part takes the focus.
//
// A screen derives from it, creates its content in createContent() (usually with a
// FormBuilder it owns), stores on Done in onDone() and ends the dialog with end(). A screen that
// handles more messages derives from platform::WindowImpl<Screen, FormDialog> and chains
// FormDialog::messageMap() in its own map.
#pragma once

#include <string>

#include "forms/FontHandle.h"
#include "platform/win/WindowBase.h"

namespace pellucard {

class FormDialog : public platform::WindowImpl<FormDialog> {
 public:
  // A line of the scroll bar, in pixels.
  static constexpr int kScrollLine = 14;

  // The screen's menubar resource, and whether its content scrolls (Pocket PC only).
  FormDialog(UINT menuBarId, bool scrolling);
  ~FormDialog() override;

  static const platform::MessageMap<FormDialog>& messageMap();

  // Runs the dialog modally over `parent`, titled `title`; returns IDOK or IDCANCEL (IDCANCEL
  // too when it could not be created).
  INT_PTR run(HWND parent, const std::u16string& title);
  // Opens the dialog without a loop of its own, for a caller whose loop runs it. It destroys
  // itself when it ends and result() then tells how. nullptr when it could not be created.
  HWND open(HWND parent, const std::u16string& title);
  // IDOK or IDCANCEL once ended; 0 before.
  INT_PTR result() const { return result_; }

  bool pocketPc() const { return pocketPc_; }
  bool scrolling() const { return scrolling_; }
  UINT menuBarId() const { return menuBarId_; }
  // The menubar window; nullptr when it could not be created.
  HWND menuBar() const { return menuBar_; }
  // The dialog's font (the system font unless it was given another) and its bold copy, which
  // screens use for headings. Both belong to the dialog.
  HFONT plainFont() const { return plainFont_; }
  HFONT boldFont() const { return boldFont_.get(); }
  // The scroll position, 0 at the top.
  int scrollPosition() const { return position_; }

 protected:
  // Creates the screen's controls as children of `dialog`, once, during initialisation.
  virtual void createContent(HWND dialog) = 0;
  // Done (IDOK): the screen validates, stores and ends the dialog. The default ends with IDOK.
  virtual void onDone();
  // Cancel (IDCANCEL): the default ends with IDCANCEL.
  virtual void onCancel();
  // Every other command; true when the screen took it.
  virtual bool onFormCommand(WORD id, WORD code, HWND from);
  // After the dialog fitted itself to a rotated screen or to the input panel; the fields are
  // already widened. A screen with controls of its own places them again here.
  virtual void onLayoutChanged() {}
  // Each time the menubar was made anew (at the start, on every activation, after a rotation):
  // a screen that adds items to the menubar's menus adds them here.
  virtual void onMenuBarCreated() {}
  // Whether the screen takes the Back key from the menubar even without an edit among its
  // children (a list whose search Back edits).
  virtual bool wantsBackKey() const { return false; }

  // Ends the dialog with this result (IDOK or IDCANCEL).
  void end(INT_PTR result);

 private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void initialize();

  void createMenuBar();
  void destroyMenuBar();
  // Fonts to the children and the Back key from the menubar when an edit is among them.
  void prepareChildren(HFONT previousFont);

  void onActivate(UINT state, HWND other);
  void onDestroy();
  void onSetFont(HFONT font, bool redraw);
  HFONT onGetFont() { return plainFont_; }
  void onCommand(WORD id, WORD code, HWND from);
  LRESULT onHotKey(int id, UINT modifiers, UINT vk);
  void onSettingChange(UINT flag, LPCWSTR section);
  // Closes the list or calendar the focused field dropped; false when none was down.
  bool closeDropDown(HWND focus);
  void onVScroll(UINT code, int position, HWND bar);
  LRESULT onRecomputeScroll(WPARAM toTop, LPARAM setBar);

  void relayout();
  void fitToInputPanel();
  void recomputeScrollRange(bool toTop, bool setBar);
  void scrollTo(int position);
  void bringIntoView(HWND field);

  UINT menuBarId_;
  bool scrolling_;
  bool pocketPc_ = false;
  bool modal_ = true;
  HWND menuBar_ = nullptr;
  HFONT plainFont_ = nullptr;
  FontHandle boldFont_;
  int screenWidth_ = 0;
  INT_PTR result_ = 0;
  bool backClosedDropDown_ = false;
  // The content's extent and the visible part, as the scroll bar has them.
  int rangeMax_ = 0;
  int page_ = 0;
  int position_ = 0;
};

}  // namespace pellucard
