// The soft-key menubar: a bar along the bottom of the screen owned by a program window, with
// a left and a right button (text, command, enabled or greyed, or a menu that opens upwards),
// on Pocket PC the input-panel button between them, the keys it passes on to its owner
// (SHCMBM_OVERRIDEKEY) and the soft keys F1 / F2.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/shell/AygShell.h"

namespace platform::shell {

struct SoftKeyButton {
  UINT command = 0;
  BYTE state = TBSTATE_ENABLED;
  BYTE style = TBSTYLE_AUTOSIZE;
  std::u16string text;
  HMENU menu = nullptr;  // a submenu of the bar's menu, or one set with SHCMBM_SETSUBMENU
  bool enabled() const { return (state & TBSTATE_ENABLED) != 0; }
};

class MenuBar {
 public:
  // Creates the bar from the SHMENUBARINFO request; nullptr (with the last error) on failure.
  static HWND create(const SHMENUBARINFO& info);
  // A bar for one of the shell's own screens, whose soft keys are given rather than loaded
  // from the program's resources.
  static HWND createWithButtons(HWND owner, std::vector<SoftKeyButton> buttons);
  static void registerClass();
  static MenuBar* fromWindow(HWND hwnd);
  // The newest live bar owned by `owner`, or nullptr.
  static MenuBar* forOwner(HWND owner);
  // The bar of the active window, which the soft keys and Back go to.
  static MenuBar* current();
  // Whether any live bar asks for the Back key.
  static bool anyBackOverride();

  HWND hwnd() const { return hwnd_; }
  HWND owner() const { return owner_; }
  const std::vector<SoftKeyButton>& buttons() const { return buttons_; }

  // F1 presses the left button, F2 the right one. False when the bar has no such button.
  bool softKey(UINT vk);
  // The override flags the owner set for a key (SHMBOF_NODEFAULT, SHMBOF_NOTIFY); 0 for none.
  WORD overrideFlags(UINT vk) const;
  // Shows or hides the input-panel button (Pocket PC only).
  void setSipButton(bool shown);
  bool sipButton() const { return sipButton_; }

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  MenuBar(HWND hwnd, HWND owner) : hwnd_(hwnd), owner_(owner) {}
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void place();
  void paint();
  void press(int index);
  int buttonAt(POINT pt) const;
  RECT buttonRect(int index) const;
  RECT sipRect() const;
  SoftKeyButton* byCommand(int command);
  bool loadButtons(const SHMENUBARINFO& info);

  HWND hwnd_;
  HWND owner_;
  std::vector<SoftKeyButton> buttons_;
  HMENU menu_ = nullptr;  // owned
  std::map<UINT, WORD> overrides_;
  bool sipButton_ = false;
  int pressed_ = -1;  // the button held by the stylus or whose menu is open
  bool tracking_ = false;
  unsigned serial_ = 0;
};

}  // namespace platform::shell
