// What an open export batch needs to keep: how deep it is nested, the service's batch and the
// store's, and the identifiers that exports replaced, to give them back when the files holding
// the new items could not be written.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform::pim {
class Application;
}

namespace pellucard {

class Anniversary;
class Loan;
class OutlookConnection;
class RecordBatch;

class ExportJournal {
 public:
  ExportJournal();
  ~ExportJournal();
  ExportJournal(const ExportJournal&) = delete;
  ExportJournal& operator=(const ExportJournal&) = delete;

  // Opens one level; the outermost also opens the service's batch on that application object
  // (none without a connection) and a batch of the store.
  void open(std::shared_ptr<platform::pim::Application> application);
  // Closes one level; the outermost writes the files and makes the records' writes durable.
  // False when the files could not be written (or the store could not keep its writes).
  bool close(const OutlookConnection& connection);
  bool isOpen() const { return depth_ > 0; }

  // Called by an export before it changes the record's OutlookItemId. The records must outlive
  // the batch.
  void noteExport(Anniversary& anniversary);
  void noteExport(Loan& loan);

 private:
  // Gives every record whose new item is not in the files its earlier identifier back.
  void restore(const OutlookConnection& connection);

  int depth_ = 0;
  std::shared_ptr<platform::pim::Application> application_;
  std::unique_ptr<RecordBatch> records_;
  std::vector<std::pair<Anniversary*, LONG>> anniversaries_;
  std::vector<std::pair<Loan*, LONG>> loans_;
};

}  // namespace pellucard
