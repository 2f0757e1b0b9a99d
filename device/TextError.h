// An error that carries a text for the user; start-up catches it once at the entry point and shows it.
#pragma once

#include <stdexcept>
#include <string>

namespace pellucard {

class TextError : public std::runtime_error {
 public:
  explicit TextError(std::u16string text);

  const std::u16string& text() const noexcept { return text_; }

 private:
  std::u16string text_;
};

}  // namespace pellucard
