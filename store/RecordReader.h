// The typed reads of one record as the volume stores it, decoded straight from the stored bytes.
// The tolerance is that of PropertyRecord: the first property with a number decides, and a missing
// one or one of another type gives the fallback.
#pragma once

#include <cstring>
#include <optional>
#include <span>
#include <string_view>

#include "platform/cedb/PropertyCodec.h"
#include "store/ItemArena.h"
#include "store/ItemText.h"
#include "store/RecordId.h"

namespace pellucard {

class RecordReader {
 public:
  // The properties must outlive the reader.
  RecordReader(std::span<const platform::cedb::StoredProperty> properties, RecordId id)
      : properties_(properties), recordId_(id) {
    for (std::size_t i = 0; i < properties_.size() && numbered_; ++i) numbered_ = HIWORD(properties_[i].propid) == i;
  }

  // Defined here: loading a table calls them a million times.
  LONG intOr(WORD number, LONG fallback = 0) const {
    const platform::cedb::StoredProperty* p = find(number, CEVT_I4);
    if (!p || p->size != sizeof(LONG)) return fallback;
    LONG value;
    std::memcpy(&value, p->payload, sizeof value);
    return value;
  }
  // The text copied into the arena, ending at its first null character as a terminated string
  // would; empty when missing.
  ItemText arenaText(WORD number, ItemArena& arena) const {
    const platform::cedb::StoredProperty* p = find(number, CEVT_LPWSTR);
    if (!p) return {};
    return ItemText::borrow(arena.copyText(p->payload, p->size / sizeof(char16_t)));
  }
  std::optional<FILETIME> fileTime(WORD number) const {
    const platform::cedb::StoredProperty* p = find(number, CEVT_FILETIME);
    if (!p || p->size != sizeof(FILETIME)) return std::nullopt;
    FILETIME value;
    std::memcpy(&value, p->payload, sizeof value);
    return value;
  }
  // Points into the stored bytes.
  std::span<const BYTE> blob(WORD number) const {
    const platform::cedb::StoredProperty* p = find(number, CEVT_BLOB);
    if (!p || p->size == 0) return {};
    return {p->payload, p->size};
  }

  RecordId recordId() const { return recordId_; }

 private:
  // The first property with that number and type, or null.
  const platform::cedb::StoredProperty* find(WORD number, WORD type) const {
    if (!numbered_) return findInAny(number, type);
    if (number >= properties_.size()) return nullptr;
    const platform::cedb::StoredProperty& p = properties_[number];
    return LOWORD(p.propid) == type ? &p : nullptr;
  }
  const platform::cedb::StoredProperty* findInAny(WORD number, WORD type) const;

  std::span<const platform::cedb::StoredProperty> properties_;
  RecordId recordId_;
  // Property i has number i, as every table writes them: lookups need no search.
  bool numbered_ = true;
};

}  // namespace pellucard
