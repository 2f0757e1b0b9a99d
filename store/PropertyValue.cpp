#include "store/PropertyValue.h"

#include <cstring>

namespace pellucard {

void PropertyValue::assignBorrowed(const CEPROPVAL& value) {
  tag_ = value.propid;
  flags_ = value.wFlags;
  if (value.wFlags & CEDB_PROPNOTFOUND) return;
  switch (TypeFromPropID(value.propid)) {
    case CEVT_I4:
      int_ = value.val.lVal;
      break;
    case CEVT_FILETIME:
      fileTime_ = value.val.filetime;
      break;
    case CEVT_LPWSTR:
      borrowedText_ = value.val.lpwstr;
      borrowedLength_ = value.val.lpwstr ? std::char_traits<char16_t>::length(value.val.lpwstr) : 0;
      break;
    case CEVT_BLOB:
      borrowedBytes_ = value.val.blob.lpb;
      borrowedCount_ = value.val.blob.lpb ? value.val.blob.dwCount : 0;
      break;
    default:
      break;
  }
}

// A copy owns its text and bytes: it may outlive the buffer the original points into.
PropertyValue::PropertyValue(const PropertyValue& other) { *this = other; }

PropertyValue& PropertyValue::operator=(const PropertyValue& other) {
  if (this == &other) return *this;
  clear();
  tag_ = other.tag_;
  flags_ = other.flags_;
  int_ = other.int_;
  fileTime_ = other.fileTime_;
  if (other.type() == CEVT_LPWSTR) setText(other.text());
  if (other.type() == CEVT_BLOB) setBlob(other.blob());
  flags_ = other.flags_;
  return *this;
}

void PropertyValue::clear() {
  int_ = 0;
  fileTime_ = {};
  borrowedText_ = nullptr;
  borrowedLength_ = 0;
  borrowedBytes_ = nullptr;
  borrowedCount_ = 0;
  if (owns_) std::vector<BYTE>().swap(owned_);
  owns_ = false;
  flags_ = 0;
}

void PropertyValue::setInt(LONG value) {
  clear();
  tag_ = PropIdFromTag(number(), CEVT_I4);
  int_ = value;
}

void PropertyValue::setText(std::u16string_view text) {
  const WORD n = number();
  clear();
  tag_ = PropIdFromTag(n, CEVT_LPWSTR);
  owned_.resize((text.size() + 1) * sizeof(char16_t));
  std::memcpy(owned_.data(), text.data(), text.size() * sizeof(char16_t));
  owned_[owned_.size() - 1] = owned_[owned_.size() - 2] = 0;
  owns_ = true;
}

void PropertyValue::setFileTime(const FILETIME& value) {
  clear();
  tag_ = PropIdFromTag(number(), CEVT_FILETIME);
  fileTime_ = value;
}

void PropertyValue::setBlob(std::span<const BYTE> bytes) {
  std::vector<BYTE> copy(bytes.begin(), bytes.end());
  clear();
  tag_ = PropIdFromTag(number(), CEVT_BLOB);
  owned_ = std::move(copy);
  owns_ = true;
}

std::u16string_view PropertyValue::text() const {
  if (owns_) {
    return owned_.size() < 2 ? std::u16string_view()
                             : std::u16string_view(reinterpret_cast<const char16_t*>(owned_.data()),
                                                   owned_.size() / sizeof(char16_t) - 1);
  }
  return borrowedText_ ? std::u16string_view(borrowedText_, borrowedLength_) : std::u16string_view();
}

std::span<const BYTE> PropertyValue::blob() const {
  if (owns_) return owned_;
  return borrowedBytes_ ? std::span<const BYTE>(borrowedBytes_, borrowedCount_) : std::span<const BYTE>();
}

CEPROPVAL PropertyValue::toPlatform() const {
  CEPROPVAL v{};
  v.propid = tag_;
  v.wFlags = 0;
  switch (type()) {
    case CEVT_I4:
      v.val.lVal = int_;
      break;
    case CEVT_FILETIME:
      v.val.filetime = fileTime_;
      break;
    case CEVT_LPWSTR:
      // Owned text keeps its terminator.
      v.val.lpwstr =
          owns_ ? reinterpret_cast<LPWSTR>(const_cast<BYTE*>(owned_.data())) : const_cast<LPWSTR>(borrowedText_);
      if (!v.val.lpwstr) v.val.lpwstr = const_cast<LPWSTR>(u"");
      break;
    case CEVT_BLOB: {
      const std::span<const BYTE> bytes = blob();
      v.val.blob.dwCount = static_cast<DWORD>(bytes.size());
      v.val.blob.lpb = bytes.empty() ? nullptr : const_cast<LPBYTE>(bytes.data());
      break;
    }
    default:
      break;
  }
  return v;
}

}  // namespace pellucard
