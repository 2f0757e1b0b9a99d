// The properties of one record, in the order they are written or were read.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cedb/WinDb.h"
#include "store/PropertyValue.h"
#include "store/RecordId.h"

namespace pellucard {

class PropertyRecord {
 public:
  PropertyRecord() = default;
  ~PropertyRecord();
  PropertyRecord(const PropertyRecord&) = delete;
  PropertyRecord& operator=(const PropertyRecord&) = delete;

  // Drops the properties, the identifier and the read buffer.
  void clear();
  // Drops the properties and the identifier; the read buffer is kept for the next read to reuse.
  void clearProperties();

  void addInt(WORD number, LONG value);
  void addText(WORD number, std::u16string_view text);
  void addFileTime(WORD number, const FILETIME& value);
  void addBlob(WORD number, std::span<const BYTE> bytes);
  void append(PropertyValue value) { values_.push_back(std::move(value)); }
  // Appends a property that points into the read buffer.
  void appendBorrowed(const CEPROPVAL& value) { values_.emplace_back(value); }

  // The first property with that number, or null.
  const PropertyValue* find(WORD number) const;

  // Typed reads that tolerate records written by someone else: a missing property or one of
  // another type gives the fallback.
  LONG intOr(WORD number, LONG fallback = 0) const;
  std::u16string textOr(WORD number, std::u16string_view fallback = {}) const;
  std::optional<FILETIME> fileTime(WORD number) const;
  std::span<const BYTE> blob(WORD number) const;

  const std::vector<PropertyValue>& values() const { return values_; }
  std::size_t size() const { return values_.size(); }

  RecordId recordId() const { return recordId_; }
  void setRecordId(RecordId id) { recordId_ = id; }

  // The store's read buffer; grown by reads and freed with the record.
  LPBYTE& readBuffer() { return buffer_; }
  DWORD& readBufferSize() { return bufferSize_; }

 private:
  void freeBuffer();

  std::vector<PropertyValue> values_;
  RecordId recordId_ = 0;
  LPBYTE buffer_ = nullptr;
  DWORD bufferSize_ = 0;
};

}  // namespace pellucard
