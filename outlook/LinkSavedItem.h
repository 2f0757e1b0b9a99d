// The last step of exporting a loan or an anniversary, once its new task or appointment is saved:
// the record learns the new item before the old one goes. If the record cannot be stored, the
// new item is taken back and the old one stays, so a later export replaces it instead of adding
// a second one.
#pragma once

#include "outlook/ExportJournal.h"
#include "outlook/OutlookConnection.h"

namespace pellucard {

// deleteOld(oid) removes the item the record pointed to before.
template <class Record, class Table, class Item, class DeleteOld>
bool linkSavedItem(OutlookConnection& connection, Record& record, Table& table, Item& item, DeleteOld deleteOld) {
  const LONG oid = item.Oid();
  if (oid == 0) return true;
  connection.journal().noteExport(record);
  const LONG previous = record.outlookItemId();
  record.setOutlookItemId(oid);
  if (!table.update(record)) {
    item.Delete();
    record.setOutlookItemId(previous);
    return false;
  }
  if (previous != 0) deleteOld(previous);
  return true;
}

}  // namespace pellucard
