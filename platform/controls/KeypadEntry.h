// How the Smartphone's keypad types into an edit: the mode (abc, ABC or 123, '#' cycles them,
// '*' asks for one capital; a new text and a new sentence start with a capital, "Abc"), the
// letter being chosen by multi-tap, and the mode as EM_GETINPUTMODE and the title bar report
// it. A field that takes digits only stays in 123. It decides; the edit types.
#pragma once

#include <optional>
#include <string_view>

#include "platform/controls/KeypadIndicator.h"
#include "platform/controls/MultiTap.h"
#include "platform/controls/WinEdit.h"

namespace platform::controls {

class KeypadEntry {
 public:
  void setNumbersOnly(bool numbersOnly);
  // Whether the digit keys spell (abc, ABC) rather than type themselves (123).
  bool spelling() const { return !numbersOnly_ && mode_ != Mode::Numbers; }

  // A digit key while spelling, the caret (or the letter being chosen) at `at` of `text`: the
  // character to show, the capital decided when the key is first pressed.
  MultiTap::Press press(int digit, std::u16string_view text, int at);
  bool choosing() const { return tap_.choosing(); }
  bool choosingKey(int digit) const { return tap_.choosingKey(digit); }
  // The letter shown is kept.
  void keep() { tap_.commit(); }

  void cycleMode();
  void toggleCapital();

  KeypadMode mode(std::u16string_view text, int at) const;
  LRESULT inputMode(bool actual, std::u16string_view text, int at) const;
  void setInputMode(LPARAM mode);

 private:
  enum class Mode { Spell, Caps, Numbers };
  bool capitalNext(std::u16string_view text, int at) const;

  Mode mode_ = Mode::Spell;
  bool numbersOnly_ = false;
  bool oneCapital_ = false;
  LPARAM defaultMode_ = EIM_TEXT;
  MultiTap tap_;
  bool tapUpper_ = false;
};

}  // namespace platform::controls
