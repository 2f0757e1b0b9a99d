// How the numbered list cuts its entries into pages. A page is as many rows as the list shows
// at once (R); page p starts at entry p x (R - 1). When entries go on past a page, its last row
// is "More ..." instead of an entry. The first N rows of a page carry the numbers 1 to N that
// the digit keys choose; on a page that ends with "More ...", that row carries N and the rows
// before it 1 to N - 1, so that no two rows share a number.
#pragma once

namespace pellucard {

class NumberedPages {
 public:
  // rowsPerPage below 2 counts as 2 (a page must hold an entry beside "More ..."); numbered
  // rows are at least 1 and at most rowsPerPage.
  NumberedPages(int entries, int rowsPerPage, int numberedRows);

  int rowsPerPage() const { return rows_; }
  int numberedRows() const { return numbered_; }
  int pageCount() const;
  // The entry on the first row of a page.
  int firstEntry(int page) const { return page * (rows_ - 1); }
  bool endsWithMore(int page) const { return entries_ - firstEntry(page) > rows_; }
  int rowCount(int page) const;
  // The entry a row shows; -1 for "More ..." and rows the page does not have.
  int entryAt(int page, int row) const;
  bool isMore(int page, int row) const { return endsWithMore(page) && row == rows_ - 1; }
  // The number a row shows, 0 for none.
  int numberOf(int page, int row) const;
  // The row that digit k chooses, -1 for none.
  int rowOfNumber(int page, int k) const;
  // The page that shows an entry.
  int pageOf(int entry) const;

 private:
  int entries_;
  int rows_;
  int numbered_;
};

}  // namespace pellucard
