// A small window tree that stands in for the program until it exists: a full-screen frame
// with a title, a ticking clock label (a one-second timer), a list of rows, a text field, a button
// that opens a modal dialog and one that opens a form with every standard control (DemoForm).
// Soft key 1 opens the dialog, the key 1 the form; soft key 2 or closing the frame quits.
// Tapping the field gives it the keys; tapping the list gives them back to the frame.
#pragma once

#include "platform/win/WindowBase.h"

namespace platform::demo {

class DemoFrame : public WindowImpl<DemoFrame> {
 public:
  static constexpr UINT kTimerId = 1;
  static constexpr UINT kButtonId = 101;
  static constexpr UINT kLabelId = 102;
  static constexpr UINT kListId = 103;
  static constexpr UINT kFormButtonId = 104;
  static constexpr UINT kEditId = 105;

  static const MessageMap<DemoFrame>& messageMap();
  HWND createFrame(int showCommand);
  int ticks() const { return ticks_; }

 protected:
  WindowClassInfo windowClass() const override;

 private:
  bool onCreate(const CREATESTRUCTW& create);
  void onPaint();
  bool onEraseBackground(HDC dc);
  void onTimer(UINT_PTR id);
  void onKeyDown(UINT vk, UINT flags);
  void onSize(UINT type, SIZE client);
  void onSettingChange(UINT flag, LPCWSTR section);
  void onDestroy();
  void onButton(WORD id, WORD code, HWND from);
  int top() const;
  void layout();
  void openDialog();
  void openForm();

  int ticks_ = 0;
  HWND label_ = nullptr;
  HWND list_ = nullptr;
  HWND edit_ = nullptr;
  HWND button_ = nullptr;
  HWND formButton_ = nullptr;
};

// Registers the demo's child window classes (label, list, button) and the standard controls.
void registerDemoClasses();

}  // namespace platform::demo
