#include "platform/controls/KeypadEntry.h"

namespace platform::controls {

void KeypadEntry::setNumbersOnly(bool numbersOnly) {
  numbersOnly_ = numbersOnly;
  if (numbersOnly) defaultMode_ = EIM_NUMBERS;
}

MultiTap::Press KeypadEntry::press(int digit, std::u16string_view text, int at) {
  if (!tap_.choosing() || !tap_.choosingKey(digit)) {
    tap_.commit();
    tapUpper_ = mode_ == Mode::Caps || capitalNext(text, at);
    oneCapital_ = false;
  }
  return tap_.press(digit, tapUpper_);
}

void KeypadEntry::cycleMode() {
  if (numbersOnly_) return;
  tap_.commit();
  oneCapital_ = false;
  mode_ = mode_ == Mode::Spell ? Mode::Caps : mode_ == Mode::Caps ? Mode::Numbers : Mode::Spell;
}

void KeypadEntry::toggleCapital() {
  if (mode_ == Mode::Spell && !numbersOnly_) oneCapital_ = !oneCapital_;
}

bool KeypadEntry::capitalNext(std::u16string_view text, int at) const {
  if (mode_ != Mode::Spell) return false;
  if (oneCapital_) return true;
  // A new text, a new line, or a sentence ended and a space typed.
  int i = at;
  while (i > 0 && text[static_cast<std::size_t>(i - 1)] == u' ') --i;
  if (i == 0) return true;
  const char16_t before = text[static_cast<std::size_t>(i - 1)];
  if (before == u'\r' || before == u'\n') return true;
  return (before == u'.' || before == u'!' || before == u'?') && i < at;
}

KeypadMode KeypadEntry::mode(std::u16string_view text, int at) const {
  if (!spelling()) return KeypadMode::Numbers;
  if (mode_ == Mode::Caps) return KeypadMode::Upper;
  return capitalNext(text, at) ? KeypadMode::Capital : KeypadMode::Lower;
}

LRESULT KeypadEntry::inputMode(bool actual, std::u16string_view text, int at) const {
  if (!actual) return defaultMode_;
  if (!spelling()) return EIM_NUMBERS;
  LRESULT mode = EIM_SPELL;
  if (mode_ == Mode::Caps) mode |= EIMMF_CAPSLOCK;
  if (capitalNext(text, at)) mode |= EIMMF_SHIFT;
  return mode;
}

void KeypadEntry::setInputMode(LPARAM mode) {
  defaultMode_ = mode;
  tap_.commit();
  const auto value = static_cast<DWORD>(mode);
  if ((value & EIM_MASK) == EIM_NUMBERS) {
    mode_ = Mode::Numbers;
    return;
  }
  const bool caps = (value & EIMMF_SETCLR_CAPSLOCK) && (value & EIMMF_CAPSLOCK);
  mode_ = caps ? Mode::Caps : Mode::Spell;
  if (value & EIMMF_SETCLR_SHIFT) oneCapital_ = (value & EIMMF_SHIFT) != 0;
}

}  // namespace platform::controls
