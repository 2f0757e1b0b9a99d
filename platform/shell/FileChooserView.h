// The file chooser's list of one folder: a grid of thumbnails with names, or rows of name,
// date and size. Folders come first with the folder icon; files that are not pictures (or do
// not decode) show the file icon. Arrows move, Enter or a tap opens a folder or picks a file,
// which the view tells its parent as WM_COMMAND with kOpen.
#pragma once

#include <string>
#include <vector>

#include "platform/shell/FolderListing.h"
#include "platform/shell/ThumbnailQueue.h"
#include "platform/win/WinUser.h"

namespace platform::shell {

class FileChooserView {
 public:
  enum class Mode { Thumbnails, Details };
  static constexpr WORD kOpen = 1;     // notification: open or pick the selected entry
  static constexpr WORD kLeaveUp = 2;  // notification: Up on the first row

  static HWND create(HWND parent, int id, Mode mode);
  static FileChooserView* fromWindow(HWND hwnd);

  void setEntries(const std::u16string& folder, std::vector<FolderEntry> entries);
  const std::vector<FolderEntry>& entries() const { return entries_; }
  int selection() const { return selection_; }
  void select(int index);
  const FolderEntry* selected() const;
  Mode mode() const { return mode_; }

  bool hasIdleWork() const { return thumbs_.hasWork(); }
  void idleStep();
  const ThumbnailQueue& thumbnails() const { return thumbs_; }

  // Where an entry lies in client coordinates (empty when scrolled out of view).
  RECT itemRect(int index) const;

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  FileChooserView(HWND hwnd, Mode mode) : hwnd_(hwnd), mode_(mode) {}
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  void paintCell(HDC hdc, int index, const RECT& cell);
  void paintRow(HDC hdc, int index, const RECT& row);
  void paintHeader(HDC hdc, const RECT& client);
  void drawEntryIcon(HDC hdc, int index, const RECT& box, int size);
  void onKey(UINT vk);
  void scrollTo(int topRow);
  void ensureVisible(int index);
  void updateScrollBar();
  void layout();
  int hitTest(POINT pt) const;
  void notify(WORD code);

  int columns() const { return mode_ == Mode::Thumbnails ? columns_ : 1; }
  int rowCount() const;
  int visibleRows() const;
  int rowHeight() const { return mode_ == Mode::Thumbnails ? cellHeight_ : lineHeight_; }
  int headerHeight() const { return mode_ == Mode::Details ? lineHeight_ : 0; }
  SIZE thumbnailBox() const;

  HWND hwnd_;
  Mode mode_;
  std::u16string folder_;
  std::vector<FolderEntry> entries_;
  ThumbnailQueue thumbs_;
  int selection_ = 0;
  int topRow_ = 0;
  int columns_ = 3;
  int cellWidth_ = 80;
  int cellHeight_ = 80;
  int lineHeight_ = 18;
  int pressed_ = -1;  // the entry under the stylus since it went down
};

}  // namespace platform::shell
