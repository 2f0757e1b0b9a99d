// One typed property of a record: number in the high word of the tag, value type in the low word.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cedb/WinDb.h"

namespace pellucard {

class PropertyValue {
 public:
  explicit PropertyValue(WORD number = 0) : tag_(static_cast<CEPROPID>(number) << 16) {}
  // A property read from the store: its text or bytes stay in the record's read buffer.
  explicit PropertyValue(const CEPROPVAL& value) { assignBorrowed(value); }
  static PropertyValue borrowed(const CEPROPVAL& value) { return PropertyValue(value); }
  void borrow(const CEPROPVAL& value) {
    clear();
    assignBorrowed(value);
  }

  PropertyValue(const PropertyValue& other);
  PropertyValue& operator=(const PropertyValue& other);
  PropertyValue(PropertyValue&&) noexcept = default;
  PropertyValue& operator=(PropertyValue&&) noexcept = default;
  ~PropertyValue() = default;

  WORD number() const { return HIWORD(tag_); }
  WORD type() const { return LOWORD(tag_); }
  CEPROPID tag() const { return tag_; }
  WORD flags() const { return flags_; }
  bool ownsMemory() const { return owns_; }

  // Each setter drops what the property held and keeps its number; text and bytes are copied.
  void setInt(LONG value);
  void setText(std::u16string_view text);
  void setFileTime(const FILETIME& value);
  void setBlob(std::span<const BYTE> bytes);

  LONG intValue() const { return int_; }
  std::u16string_view text() const;
  FILETIME fileTime() const { return fileTime_; }
  std::span<const BYTE> blob() const;

  // The platform structure for a write; it points into this property, which must outlive it.
  CEPROPVAL toPlatform() const;

 private:
  void clear();
  void assignBorrowed(const CEPROPVAL& value);

  CEPROPID tag_ = 0;
  WORD flags_ = 0;
  LONG int_ = 0;
  FILETIME fileTime_{};
  const WCHAR* borrowedText_ = nullptr;
  std::size_t borrowedLength_ = 0;
  const BYTE* borrowedBytes_ = nullptr;
  DWORD borrowedCount_ = 0;
  // Owned text (with its terminator) or bytes.
  std::vector<BYTE> owned_;
  bool owns_ = false;
};

}  // namespace pellucard
