#include "outlook/ExportBatch.h"

#include "outlook/OutlookConnection.h"

namespace pellucard {

ExportBatch::ExportBatch(OutlookConnection& connection) : connection_(&connection) {
  connection.journal().open(connection.application());
}

ExportBatch::~ExportBatch() { end(); }

bool ExportBatch::end() {
  OutlookConnection* connection = connection_;
  connection_ = nullptr;
  return connection ? connection->journal().close(*connection) : true;
}

}  // namespace pellucard
