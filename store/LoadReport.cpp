#include "store/LoadReport.h"

namespace pellucard {

bool LoadReport::complete() const {
  for (const TableLoad& t : tables_)
    if (!t.opened || t.skipped != 0 || t.scanError != 0) return false;
  return true;
}

bool LoadReport::nothingRead() const {
  for (const TableLoad& t : tables_)
    if (t.opened) return false;
  return true;
}

bool LoadReport::refusesWrites() const {
  for (const TableLoad& t : tables_)
    if (!t.opened || t.scanError != 0) return true;
  return false;
}

DWORD LoadReport::firstError() const {
  for (const TableLoad& t : tables_) {
    if (!t.opened) return t.openError;
    if (t.scanError != 0) return t.scanError;
  }
  return 0;
}

}  // namespace pellucard
