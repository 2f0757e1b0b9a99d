// Multi-tap spelling on a phone keypad: each digit key cycles through its letters; pressing the
// same key again within the pause replaces the letter just shown with the next one, and any
// other key, or the pause running out, keeps it.
#pragma once

#include <string_view>

namespace platform::controls {

class MultiTap {
 public:
  // How long a shown letter waits for the same key again before it is kept.
  static constexpr unsigned kPauseMs = 1000;

  // The characters key 0 to 9 cycles through, its digit among them.
  static std::u16string_view keyCharacters(int digit);

  struct Press {
    char16_t character = 0;
    bool replacesShown = false;  // the previous press of this key is still being chosen
  };
  // A press of a digit key; upper gives capitals.
  Press press(int digit, bool upper);
  // The letter shown is kept; the next press starts afresh.
  void commit() { key_ = -1; }
  bool choosing() const { return key_ >= 0; }
  bool choosingKey(int digit) const { return key_ == digit; }

 private:
  int key_ = -1;
  int index_ = 0;
};

}  // namespace platform::controls
