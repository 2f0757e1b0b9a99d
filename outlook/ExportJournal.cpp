#include "outlook/ExportJournal.h"

#include <ranges>

#include "outlook/OutlookConnection.h"
#include "store/AnniversariesTable.h"
#include "store/Anniversary.h"
#include "store/Loan.h"
#include "store/LoansTable.h"
#include "store/RecordBatch.h"

namespace pellucard {

ExportJournal::ExportJournal() = default;
ExportJournal::~ExportJournal() = default;

void ExportJournal::open(std::shared_ptr<platform::pim::Application> application) {
  if (depth_++ > 0) return;
  application_ = std::move(application);
  if (application_ && FAILED(application_->beginBatch())) application_.reset();
  records_ = std::make_unique<RecordBatch>();
}

bool ExportJournal::close(const OutlookConnection& connection) {
  if (depth_ == 0 || --depth_ > 0) return true;
  const bool written = !application_ || SUCCEEDED(application_->endBatch());
  application_.reset();
  if (!written) restore(connection);
  anniversaries_.clear();
  loans_.clear();
  const bool kept = records_->end();
  records_.reset();
  return written && kept;
}

void ExportJournal::noteExport(Anniversary& anniversary) {
  if (isOpen()) anniversaries_.emplace_back(&anniversary, anniversary.outlookItemId());
}

void ExportJournal::noteExport(Loan& loan) {
  if (isOpen()) loans_.emplace_back(&loan, loan.outlookItemId());
}

void ExportJournal::restore(const OutlookConnection& connection) {
  // Latest first, so that a record exported twice ends with the identifier it had at the start.
  for (auto& [anniversary, previous] : std::views::reverse(anniversaries_)) {
    const LONG current = anniversary->outlookItemId();
    if (current == previous || (current != 0 && connection.itemFromOid(current))) continue;
    anniversary->setOutlookItemId(previous);
    getAnniversariesTable().update(*anniversary);
  }
  for (auto& [loan, previous] : std::views::reverse(loans_)) {
    const LONG current = loan->outlookItemId();
    if (current == previous || (current != 0 && connection.itemFromOid(current))) continue;
    loan->setOutlookItemId(previous);
    getLoansTable().update(*loan);
  }
}

}  // namespace pellucard
