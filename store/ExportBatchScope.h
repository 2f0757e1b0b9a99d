// A batch of the registered export service for as long as the scope lives (see ExportService).
#pragma once

namespace pellucard {

class ExportService;

class ExportBatchScope {
 public:
  ExportBatchScope();
  ~ExportBatchScope();
  ExportBatchScope(const ExportBatchScope&) = delete;
  ExportBatchScope& operator=(const ExportBatchScope&) = delete;

  // Ends the batch early; false when the files could not be written. Nothing without a service.
  bool end();

 private:
  ExportService* service_;
};

}  // namespace pellucard
