#include "views/NumberedPages.h"

#include <algorithm>

namespace pellucard {

NumberedPages::NumberedPages(int entries, int rowsPerPage, int numberedRows)
    : entries_(std::max(entries, 0)), rows_(std::max(rowsPerPage, 2)), numbered_(std::clamp(numberedRows, 1, rows_)) {}

int NumberedPages::pageCount() const {
  if (entries_ <= rows_) return 1;
  // The last page is the first that holds the rest whole.
  const int step = rows_ - 1;
  return (entries_ - rows_ + step - 1) / step + 1;
}

int NumberedPages::rowCount(int page) const {
  if (page < 0 || page >= pageCount()) return 0;
  return endsWithMore(page) ? rows_ : entries_ - firstEntry(page);
}

int NumberedPages::entryAt(int page, int row) const {
  if (row < 0 || row >= rowCount(page) || isMore(page, row)) return -1;
  return firstEntry(page) + row;
}

int NumberedPages::numberOf(int page, int row) const {
  if (row < 0 || row >= rowCount(page)) return 0;
  if (isMore(page, row)) return numbered_;
  const int last = endsWithMore(page) ? numbered_ - 1 : numbered_;
  return row < last ? row + 1 : 0;
}

int NumberedPages::rowOfNumber(int page, int k) const {
  if (k < 1 || k > numbered_) return -1;
  if (k == numbered_ && endsWithMore(page)) return rows_ - 1;
  const int row = k - 1;
  return numberOf(page, row) == k ? row : -1;
}

int NumberedPages::pageOf(int entry) const {
  if (entry <= 0) return 0;
  return std::min(entry / (rows_ - 1), pageCount() - 1);
}

}  // namespace pellucard
