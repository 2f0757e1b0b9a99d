#include "store/ExportBatchScope.h"

#include "store/ExportService.h"

namespace pellucard {

ExportBatchScope::ExportBatchScope() : service_(exportService()) {
  if (service_) service_->beginBatch();
}

ExportBatchScope::~ExportBatchScope() { end(); }

bool ExportBatchScope::end() {
  ExportService* service = service_;
  service_ = nullptr;
  return service ? service->endBatch() : true;
}

}  // namespace pellucard
