#include "store/PropertyRecord.h"

#include <cstdlib>

namespace pellucard {

PropertyRecord::~PropertyRecord() { freeBuffer(); }

void PropertyRecord::freeBuffer() {
  std::free(buffer_);
  buffer_ = nullptr;
  bufferSize_ = 0;
}

void PropertyRecord::clear() {
  values_.clear();
  recordId_ = 0;
  freeBuffer();
}

void PropertyRecord::clearProperties() {
  values_.clear();
  recordId_ = 0;
}

void PropertyRecord::addInt(WORD number, LONG value) {
  PropertyValue p(number);
  p.setInt(value);
  values_.push_back(std::move(p));
}

void PropertyRecord::addText(WORD number, std::u16string_view text) {
  PropertyValue p(number);
  p.setText(text);
  values_.push_back(std::move(p));
}

void PropertyRecord::addFileTime(WORD number, const FILETIME& value) {
  PropertyValue p(number);
  p.setFileTime(value);
  values_.push_back(std::move(p));
}

void PropertyRecord::addBlob(WORD number, std::span<const BYTE> bytes) {
  PropertyValue p(number);
  p.setBlob(bytes);
  values_.push_back(std::move(p));
}

const PropertyValue* PropertyRecord::find(WORD number) const {
  for (const PropertyValue& p : values_)
    if (p.number() == number) return &p;
  return nullptr;
}

LONG PropertyRecord::intOr(WORD number, LONG fallback) const {
  const PropertyValue* p = find(number);
  return p && p->type() == CEVT_I4 && !(p->flags() & CEDB_PROPNOTFOUND) ? p->intValue() : fallback;
}

std::u16string PropertyRecord::textOr(WORD number, std::u16string_view fallback) const {
  const PropertyValue* p = find(number);
  return std::u16string(p && p->type() == CEVT_LPWSTR && !(p->flags() & CEDB_PROPNOTFOUND) ? p->text() : fallback);
}

std::optional<FILETIME> PropertyRecord::fileTime(WORD number) const {
  const PropertyValue* p = find(number);
  if (!p || p->type() != CEVT_FILETIME || (p->flags() & CEDB_PROPNOTFOUND)) return std::nullopt;
  return p->fileTime();
}

std::span<const BYTE> PropertyRecord::blob(WORD number) const {
  const PropertyValue* p = find(number);
  if (!p || p->type() != CEVT_BLOB || (p->flags() & CEDB_PROPNOTFOUND)) return {};
  return p->blob();
}

}  // namespace pellucard
