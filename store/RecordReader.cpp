#include "store/RecordReader.h"

namespace pellucard {

const platform::cedb::StoredProperty* RecordReader::findInAny(WORD number, WORD type) const {
  for (const platform::cedb::StoredProperty& p : properties_) {
    if (HIWORD(p.propid) != number) continue;
    return LOWORD(p.propid) == type ? &p : nullptr;
  }
  return nullptr;
}

}  // namespace pellucard
