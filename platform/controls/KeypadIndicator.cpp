#include "platform/controls/KeypadIndicator.h"

namespace platform::controls {
namespace {

struct State {
  KeypadIndicator::Listener listener = nullptr;
  HWND window = nullptr;
  KeypadMode mode = KeypadMode::None;
};

State& state() {
  static State s;
  return s;
}

}  // namespace

void KeypadIndicator::setListener(Listener listener) { state().listener = listener; }

void KeypadIndicator::report(HWND window, KeypadMode mode) {
  State& s = state();
  // A window that gives up the indicator clears only its own report.
  if (mode == KeypadMode::None && window != s.window) return;
  if (s.window == window && s.mode == mode) return;
  s.window = mode == KeypadMode::None ? nullptr : window;
  s.mode = mode;
  if (s.listener != nullptr) s.listener(window, mode);
}

KeypadMode KeypadIndicator::current() { return state().mode; }

std::u16string_view KeypadIndicator::label(KeypadMode mode) {
  switch (mode) {
    case KeypadMode::Lower:
      return u"abc";
    case KeypadMode::Capital:
      return u"Abc";
    case KeypadMode::Upper:
      return u"ABC";
    case KeypadMode::Numbers:
      return u"123";
    default:
      return u"";
  }
}

}  // namespace platform::controls
