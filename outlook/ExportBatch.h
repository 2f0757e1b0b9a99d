// Exports and deletions in Calendar and Tasks grouped so that calendar.ics and tasks.ics are
// written once, when the outermost batch ends; the records' writes are grouped likewise. Batches
// nest. When a file cannot be written, it stays as it was, and every record whose OutlookItemId
// an export of the batch changed gets its earlier identifier back, in memory and in the store.
#pragma once

namespace pellucard {

class OutlookConnection;

class ExportBatch {
 public:
  explicit ExportBatch(OutlookConnection& connection);
  // Ends the batch when end() was not called.
  ~ExportBatch();
  ExportBatch(const ExportBatch&) = delete;
  ExportBatch& operator=(const ExportBatch&) = delete;

  // False when the outermost batch could not write the files (an inner one always succeeds).
  bool end();

 private:
  OutlookConnection* connection_;
};

}  // namespace pellucard
