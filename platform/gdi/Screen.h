// The device's one framebuffer (5-6-5), what changed on it, and the texts windows drew on it.
#pragma once

#include <map>
#include <memory>

#include "platform/gdi/Surface.h"
#include "platform/gdi/TextRecordList.h"

namespace platform::gdi {

class Screen {
 public:
  static Screen& instance();

  void init(int width, int height);
  // The framebuffer; made at the configured device size on first use.
  Surface& surface();
  int width() { return surface().width(); }
  int height() { return surface().height(); }

  void markDirty(const RECT& area);
  RECT takeDirty();

  TextRecordList& texts(HWND hwnd) { return texts_[hwnd]; }
  void forget(HWND hwnd) { texts_.erase(hwnd); }
  template <class Visit>
  void forEachTextList(Visit visit) const {
    for (const auto& [hwnd, list] : texts_) visit(hwnd, list);
  }

 private:
  Screen() = default;
  std::unique_ptr<Surface> surface_;
  RECT dirty_{0, 0, 0, 0};
  std::map<HWND, TextRecordList> texts_;
};

}  // namespace platform::gdi
