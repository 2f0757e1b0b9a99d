#include "store/RecordReader.h"

#include <cstring>

namespace pellucard {

const platform::cedb::StoredProperty* RecordReader::findInAny(WORD number, WORD type) const {
  for (const platform::cedb::StoredProperty& p : properties_) {
    if (HIWORD(p.propid) != number) continue;
    return LOWORD(p.propid) == type ? &p : nullptr;
  }
  return nullptr;
}

LONG RecordReader::intOr(WORD number, LONG fallback) const {
  const platform::cedb::StoredProperty* p = find(number, CEVT_I4);
  if (!p || p->size != sizeof(LONG)) return fallback;
  LONG value;
  std::memcpy(&value, p->payload, sizeof value);
  return value;
}

ItemText RecordReader::arenaText(WORD number, ItemArena& arena) const {
  const platform::cedb::StoredProperty* p = find(number, CEVT_LPWSTR);
  if (!p) return {};
  return ItemText::borrow(arena.copyText(p->payload, p->size / sizeof(char16_t)));
}

std::optional<FILETIME> RecordReader::fileTime(WORD number) const {
  const platform::cedb::StoredProperty* p = find(number, CEVT_FILETIME);
  if (!p || p->size != sizeof(FILETIME)) return std::nullopt;
  FILETIME value;
  std::memcpy(&value, p->payload, sizeof value);
  return value;
}

std::span<const BYTE> RecordReader::blob(WORD number) const {
  const platform::cedb::StoredProperty* p = find(number, CEVT_BLOB);
  if (!p || p->size == 0) return {};
  return {p->payload, p->size};
}

}  // namespace pellucard
