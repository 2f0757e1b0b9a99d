#include "platform/cedb/PropertyCodec.h"

#include <bit>
#include <cstring>

namespace platform::cedb {

static_assert(std::endian::native == std::endian::little, "stored records are little-endian");

namespace {

DWORD readDword(const BYTE* p) {
  DWORD v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Fixed payload sizes by type; 0 for variable-size types, -1 for unknown types.
int fixedSize(WORD type) {
  switch (type) {
    case CEVT_I2:
    case CEVT_UI2:
      return 2;
    case CEVT_I4:
    case CEVT_UI4:
    case CEVT_BOOL:
      return 4;
    case CEVT_R8:
    case CEVT_FILETIME:
      return 8;
    case CEVT_LPWSTR:
    case CEVT_BLOB:
      return 0;
    default:
      return -1;
  }
}

constexpr std::size_t align8(std::size_t n) { return (n + 7) & ~static_cast<std::size_t>(7); }

}  // namespace

bool payloadSize(const CEPROPVAL& value, DWORD& size, DWORD& error) {
  const WORD type = TypeFromPropID(value.propid);
  const int fixed = fixedSize(type);
  if (fixed < 0) {
    error = ERROR_INVALID_PARAMETER;
    return false;
  }
  if (fixed > 0) {
    size = static_cast<DWORD>(fixed);
    return true;
  }
  std::size_t bytes = 0;
  if (type == CEVT_LPWSTR) {
    if (!value.val.lpwstr) {
      error = ERROR_INVALID_PARAMETER;
      return false;
    }
    std::size_t units = 0;
    // Bounded scan: a missing terminator must not run through memory forever.
    while (value.val.lpwstr[units] != 0) {
      if (++units > CEDB_MAXPROPDATASIZE / 2) {
        error = ERROR_INVALID_PARAMETER;
        return false;
      }
    }
    bytes = units * 2;
  } else {
    if (value.val.blob.dwCount > 0 && !value.val.blob.lpb) {
      error = ERROR_INVALID_PARAMETER;
      return false;
    }
    bytes = value.val.blob.dwCount;
  }
  if (bytes > CEDB_MAXPROPDATASIZE) {
    error = ERROR_INVALID_PARAMETER;
    return false;
  }
  size = static_cast<DWORD>(bytes);
  return true;
}

bool parseRecord(const BYTE* bytes, std::size_t length, std::vector<StoredProperty>& out) {
  out.clear();
  if (!bytes || length < 4) return false;
  const DWORD count = readDword(bytes);
  std::size_t pos = 4;
  if (count > CEDB_MAXPROPS || count > (length - 4) / 8) return false;
  out.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    if (length - pos < 8) return false;
    const CEPROPID propid = readDword(bytes + pos);
    const DWORD size = readDword(bytes + pos + 4);
    pos += 8;
    if (size > length - pos) return false;
    const WORD type = TypeFromPropID(propid);
    const int fixed = fixedSize(type);
    if (fixed < 0 || (fixed > 0 && size != static_cast<DWORD>(fixed))) return false;
    if (type == CEVT_LPWSTR && size % 2 != 0) return false;
    out.push_back({propid, bytes + pos, size});
    pos += size;
  }
  return pos == length;
}

void RecordEncoder::header(CEPROPID propid, DWORD size) {
  BYTE h[8];
  std::memcpy(h, &propid, 4);
  std::memcpy(h + 4, &size, 4);
  bytes_.insert(bytes_.end(), h, h + 8);
  ++count_;
}

void RecordEncoder::addStored(const StoredProperty& property) {
  header(property.propid, property.size);
  bytes_.insert(bytes_.end(), property.payload, property.payload + property.size);
}

void RecordEncoder::addValue(const CEPROPVAL& value, DWORD size) {
  header(value.propid, size);
  const WORD type = TypeFromPropID(value.propid);
  const BYTE* data = nullptr;
  switch (type) {
    case CEVT_I2:
      data = reinterpret_cast<const BYTE*>(&value.val.iVal);
      break;
    case CEVT_UI2:
      data = reinterpret_cast<const BYTE*>(&value.val.uiVal);
      break;
    case CEVT_I4:
      data = reinterpret_cast<const BYTE*>(&value.val.lVal);
      break;
    case CEVT_UI4:
      data = reinterpret_cast<const BYTE*>(&value.val.ulVal);
      break;
    case CEVT_BOOL:
      data = reinterpret_cast<const BYTE*>(&value.val.boolVal);
      break;
    case CEVT_R8:
      data = reinterpret_cast<const BYTE*>(&value.val.dblVal);
      break;
    case CEVT_FILETIME:
      data = reinterpret_cast<const BYTE*>(&value.val.filetime);
      break;
    case CEVT_LPWSTR:
      data = reinterpret_cast<const BYTE*>(value.val.lpwstr);
      break;
    case CEVT_BLOB:
      data = value.val.blob.lpb;
      break;
    default:
      break;
  }
  if (size > 0 && data) bytes_.insert(bytes_.end(), data, data + size);
}

const std::vector<BYTE>& RecordEncoder::finish() {
  const DWORD count = static_cast<DWORD>(count_);
  std::memcpy(bytes_.data(), &count, 4);
  return bytes_;
}

std::size_t unpackedSize(const std::vector<StoredProperty>& properties) {
  std::size_t size = align8(properties.size() * sizeof(CEPROPVAL));
  for (const StoredProperty& p : properties) {
    if (!p.payload) continue;
    const WORD type = TypeFromPropID(p.propid);
    if (type == CEVT_LPWSTR) size += align8(p.size + 2);
    if (type == CEVT_BLOB) size += align8(p.size);
  }
  return size;
}

void unpack(const std::vector<StoredProperty>& properties, BYTE* buffer) {
  auto* values = reinterpret_cast<CEPROPVAL*>(buffer);
  BYTE* data = buffer + align8(properties.size() * sizeof(CEPROPVAL));
  for (std::size_t i = 0; i < properties.size(); ++i) {
    const StoredProperty& p = properties[i];
    CEPROPVAL& v = values[i];
    v.propid = p.propid;
    v.wLenData = 0;
    v.wFlags = 0;
    v.val.filetime = FILETIME{0, 0};
    if (!p.payload) {
      v.wFlags = CEDB_PROPNOTFOUND;
      continue;
    }
    switch (TypeFromPropID(p.propid)) {
      case CEVT_LPWSTR:
        std::memcpy(data, p.payload, p.size);
        data[p.size] = 0;
        data[p.size + 1] = 0;
        v.val.lpwstr = reinterpret_cast<LPWSTR>(data);
        data += align8(p.size + 2);
        break;
      case CEVT_BLOB:
        if (p.size > 0) std::memcpy(data, p.payload, p.size);
        v.val.blob.dwCount = p.size;
        v.val.blob.lpb = p.size > 0 ? data : nullptr;
        data += align8(p.size);
        break;
      default:
        std::memcpy(&v.val, p.payload, p.size);
        break;
    }
  }
}

}  // namespace platform::cedb
