// The image list functions over a table of lists; handles are never reused, so a destroyed
// list's handle fails cleanly.
#include <cstdlib>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/base/WinError.h"
#include "platform/controls/ImageList.h"
#include "platform/gdi/IconTable.h"

using platform::controls::ImageList;
using platform::gdi::IconImage;

namespace {

struct ListTable {
  std::uintptr_t next = 0x7A000000;
  std::unordered_map<std::uintptr_t, std::unique_ptr<ImageList>> lists;
};

ListTable& table() {
  static ListTable t;
  return t;
}

ImageList* lookup(HIMAGELIST himl) {
  auto& lists = table().lists;
  auto it = lists.find(reinterpret_cast<std::uintptr_t>(himl));
  if (it != lists.end()) return it->second.get();
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

int addStrip(ImageList& list, HBITMAP image, const std::optional<HBITMAP>& mask, COLORREF key) {
  BITMAP bm{};
  if (image == nullptr || GetObjectW(image, sizeof bm, &bm) == 0 || bm.bmWidth < list.width() ||
      std::abs(bm.bmHeight) < list.height()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  const int first = list.count();
  for (int x = 0; x + list.width() <= bm.bmWidth; x += list.width()) {
    std::optional<IconImage> picture = mask ? IconImage::fromBitmaps(image, *mask, x, 0, list.width(), list.height())
                                            : IconImage::fromKeyedBitmap(image, key, x, 0, list.width(), list.height());
    if (!picture) {
      // Nothing is added when any picture of the strip cannot be read.
      while (list.count() > first) list.remove(list.count() - 1);
      SetLastError(ERROR_INVALID_PARAMETER);
      return -1;
    }
    list.add(*picture);
  }
  return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ListTable& t = table();
  t.next += 4;
  t.lists.emplace(t.next, std::make_unique<ImageList>(cx, cy, flags));
  return reinterpret_cast<HIMAGELIST>(t.next);
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
  if (lookup(himl) == nullptr) return FALSE;
  table().lists.erase(reinterpret_cast<std::uintptr_t>(himl));
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl) {
  const ImageList* list = lookup(himl);
  return list != nullptr ? list->count() : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  const ImageList* list = lookup(himl);
  if (list == nullptr || cx == nullptr || cy == nullptr) return FALSE;
  *cx = list->width();
  *cy = list->height();
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy) {
  ImageList* list = lookup(himl);
  if (list == nullptr || cx <= 0 || cy <= 0) return FALSE;
  list->resize(cx, cy);
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF color) {
  ImageList* list = lookup(himl);
  return list != nullptr ? list->setBackground(color) : CLR_NONE;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) {
  const ImageList* list = lookup(himl);
  return list != nullptr ? list->background() : CLR_NONE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask) {
  ImageList* list = lookup(himl);
  return list != nullptr ? addStrip(*list, image, mask, CLR_NONE) : -1;
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF maskColor) {
  ImageList* list = lookup(himl);
  return list != nullptr ? addStrip(*list, image, std::nullopt, maskColor) : -1;
}

BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP image, HBITMAP mask) {
  ImageList* list = lookup(himl);
  if (list == nullptr || list->at(i) == nullptr) return FALSE;
  std::optional<IconImage> picture = IconImage::fromBitmaps(image, mask, 0, 0, list->width(), list->height());
  return picture && list->replace(i, *picture) ? TRUE : FALSE;
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON icon) {
  ImageList* list = lookup(himl);
  if (list == nullptr) return -1;
  const IconImage* picture = platform::gdi::IconTable::instance().find(icon);
  if (picture == nullptr) {
    SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return -1;
  }
  if (i == -1) return list->add(*picture);
  return list->replace(i, *picture) ? i : -1;
}

int ImageList_AddIcon(HIMAGELIST himl, HICON icon) { return ImageList_ReplaceIcon(himl, -1, icon); }

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
  ImageList* list = lookup(himl);
  if (list == nullptr) return FALSE;
  if (i == -1) {
    list->clear();
    return TRUE;
  }
  return list->remove(i) ? TRUE : FALSE;
}

HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT) {
  const ImageList* list = lookup(himl);
  const IconImage* picture = list != nullptr ? list->at(i) : nullptr;
  return picture != nullptr ? platform::gdi::IconTable::instance().add(*picture) : nullptr;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdc, int x, int y, UINT style) {
  return ImageList_DrawEx(himl, i, hdc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdc, int x, int y, int dx, int dy, COLORREF rgbBk, COLORREF rgbFg,
                      UINT style) {
  const ImageList* list = lookup(himl);
  return list != nullptr ? list->draw(i, hdc, x, y, dx, dy, rgbBk, rgbFg, style) : FALSE;
}
