// A text an item holds: either its own copy, or a view of an ItemArena that outlives the item (the
// texts read from the volume). Always null-terminated, smaller than a std::u16string, and
// read through a view.
#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace pellucard {

class ItemText {
 public:
  ItemText() = default;
  // Takes a copy of any text: std::u16string, a view, a literal. Implicit, as items are built
  // from plain texts.
  template <std::convertible_to<std::u16string_view> Text>
  ItemText(const Text& text) {  // NOLINT(google-explicit-constructor)
    own(std::u16string_view(text));
  }
  // No copy: stored must end in a null character and outlive every ItemText made from it.
  static ItemText borrow(std::u16string_view stored) {
    ItemText text;
    if (!stored.empty()) {
      text.data_ = stored.data();
      text.size_ = static_cast<std::uint32_t>(stored.size());
    }
    return text;
  }

  ItemText(const ItemText& other) { own(other.view()); }
  ItemText& operator=(const ItemText& other);
  ItemText(ItemText&& other) noexcept { take(other); }
  ItemText& operator=(ItemText&& other) noexcept {
    if (this != &other) take(other);
    return *this;
  }
  ~ItemText() = default;

  std::u16string_view view() const { return {data_, size_}; }
  operator std::u16string_view() const { return view(); }  // NOLINT(google-explicit-constructor)
  const char16_t* c_str() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  void own(std::u16string_view text);
  void take(ItemText& other) noexcept {
    owned_ = std::move(other.owned_);
    data_ = std::exchange(other.data_, u"");
    size_ = std::exchange(other.size_, 0);
  }

  std::unique_ptr<char16_t[]> owned_;  // null for a borrowed or empty text
  const char16_t* data_ = u"";
  std::uint32_t size_ = 0;
};

}  // namespace pellucard
