#include "store/ExportService.h"

namespace pellucard {

namespace {
ExportService*& slot() {
  static ExportService* service = nullptr;
  return service;
}
}  // namespace

void setExportService(ExportService* service) { slot() = service; }

ExportService* exportService() { return slot(); }

}  // namespace pellucard
