#include "views/AvatarPicker.h"

#include <algorithm>
#include <memory>

#include "device/DeviceProfile.h"
#include "platform/base/ResourceTable.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/shell/WinCommDlg.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"

namespace pellucard {

namespace {

// Room for any path of the device root: a host path is at most this many bytes, and never has
// fewer bytes than UTF-16 units.
constexpr DWORD kPathCapacity = 4096;

struct PenDeleter {
  void operator()(HPEN pen) const { DeleteObject(pen); }
};
using Pen = std::unique_ptr<std::remove_pointer_t<HPEN>, PenDeleter>;

ImageEntry* avatarStrip() {
  ImageEntry* strip = ImageCache::instance().loadedEntry(ImageCache::kMediumAvatars);
  return strip != nullptr && strip->colour && strip->colour.height() > 0 ? strip : nullptr;
}

}  // namespace

AvatarPicker::AvatarPicker() : WindowImpl(IDR_AVATAR_BAR, false) {}

const platform::MessageMap<AvatarPicker>& AvatarPicker::messageMap() {
  using M = AvatarPicker;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_PAINT>(&M::onPaint)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_KEYDOWN>(&M::onKeyDown)
                              .on<WM_LBUTTONDOWN>(&M::onStylusDown)
                              .on(WM_LBUTTONDBLCLK, &M::onDoubleTap)
                              .on(WM_GETDLGCODE, &M::onGetDlgCode)
                              .chain(FormDialog::messageMap());
  return map;
}

int AvatarPicker::avatarCount() {
  const ImageEntry* strip = avatarStrip();
  return strip != nullptr ? strip->colour.width() / strip->colour.height() : 0;
}

void AvatarPicker::preselect(LONG index) { selected_ = index >= 0 && index < avatarCount() ? index : 0; }

INT_PTR AvatarPicker::run(HWND parent) { return FormDialog::run(parent, platform::loadString(IDS_SELECT_AVATAR)); }

void AvatarPicker::createContent(HWND dialog) {
  onLayoutChanged();
  // The grid itself takes the keys: the dialog has no control to give them to.
  SetFocus(dialog);
}

void AvatarPicker::onLayoutChanged() {
  DeviceProfile profile;
  profile.compute();
  const POINT p = profile.layout().pointP();
  cell_ = SIZE{std::max<LONG>(p.x, 1), std::max<LONG>(p.y, 1)};
  scrollTop_ = 0;
  keepSelectionInView();
}

int AvatarPicker::columns() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  return std::max<int>(client.right / cell_.cx, 1);
}

int AvatarPicker::rows() const {
  const int c = columns();
  return (avatarCount() + c - 1) / c;
}

RECT AvatarPicker::cellRect(int index) const {
  const int c = columns();
  const int left = index % c * cell_.cx;
  const int top = index / c * cell_.cy - scrollTop_;
  return RECT{left, top, left + cell_.cx, top + cell_.cy};
}

void AvatarPicker::keepSelectionInView() {
  if (hwnd() == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int top = selected_ / columns() * cell_.cy;
  if (top < scrollTop_) {
    scrollTop_ = top;
  } else if (top + cell_.cy > scrollTop_ + client.bottom) {
    scrollTop_ = top + cell_.cy - client.bottom;
  }
  scrollTop_ = std::clamp(scrollTop_, 0, std::max<int>(rows() * cell_.cy - client.bottom, 0));
}

void AvatarPicker::onPaint() {
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (platform::gdi::MemoryDc buffer(dc, client.right, client.bottom); buffer) {
    draw(buffer.dc(), client);
    buffer.copyTo(dc, 0, 0);
  }
  EndPaint(hwnd(), &ps);
}

void AvatarPicker::draw(HDC dc, const RECT& client) const {
  // The buffer starts out undefined, so it is always filled, asked to erase or not.
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  ImageEntry* strip = avatarStrip();
  const int count = avatarCount();
  if (strip != nullptr && count > 0) {
    const int frame = strip->colour.height();
    const Pen pen(CreatePen(PS_SOLID, kFrameWidth, GetSysColor(COLOR_HIGHLIGHT)));
    for (int i = 0; i < count; ++i) {
      const RECT cell = cellRect(i);
      if (cell.bottom <= client.top || cell.top >= client.bottom) continue;
      if (i == selected_) {
        const platform::gdi::SelectedObject framePen(dc, pen.get());
        const platform::gdi::SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
      }
      const int x = cell.left + (cell_.cx - frame) / 2;
      const int y = cell.top + (cell_.cy - frame) / 2;
      SkinPainter::drawSkinImage(dc, strip, RECT{x, y, x + frame, y + frame},
                                 RECT{i * frame, 0, (i + 1) * frame, frame});
    }
  }
  // The lines between the cells, with the default pen.
  const int c = columns();
  for (int k = 1; k < c; ++k) {
    MoveToEx(dc, k * cell_.cx, 0, nullptr);
    LineTo(dc, k * cell_.cx, client.bottom);
  }
  const int r = rows();
  for (int k = 1; k < r; ++k) {
    const int y = k * cell_.cy - scrollTop_;
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, client.right, y);
  }
}

void AvatarPicker::select(int index) {
  selected_ = index;
  keepSelectionInView();
  InvalidateRect(hwnd(), nullptr, TRUE);
  UpdateWindow(hwnd());
}

int AvatarPicker::moved(UINT vk) const {
  const int count = avatarCount();
  const int c = columns();
  const int column = selected_ % c;
  const int row = selected_ / c;
  int next = selected_;
  switch (vk) {
    case VK_LEFT:
      next = column == 0 ? selected_ + c - 1 : selected_ - 1;
      break;
    case VK_RIGHT:
      next = column == c - 1 ? selected_ - c + 1 : selected_ + 1;
      break;
    case VK_UP:
      if (row > 0) {
        next = selected_ - c;
      } else {
        // Round to the lowest row that has an avatar in this column.
        next = (rows() - 1) * c + column;
        if (next >= count) next -= c;
      }
      break;
    case VK_DOWN:
      next = selected_ + c < count ? selected_ + c : column;
      break;
    default:
      break;
  }
  // A row the avatars do not fill keeps the selection on its last avatar.
  return std::clamp(next, 0, std::max(count - 1, 0));
}

void AvatarPicker::onKeyDown(UINT vk, UINT) {
  switch (vk) {
    case VK_RETURN:
      onDone();
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      select(moved(vk));
      return;
    default:
      passOn();
      return;
  }
}

void AvatarPicker::onStylusDown(POINT point, UINT) {
  const int c = columns();
  if (point.x < 0 || point.y < 0 || point.x >= c * cell_.cx) return;
  const int index = (point.y + scrollTop_) / cell_.cy * c + point.x / cell_.cx;
  // A cell without an avatar would leave the friend without a face.
  if (index < avatarCount()) select(index);
}

LRESULT AvatarPicker::onDoubleTap(WPARAM flags, LPARAM point) {
  onStylusDown(POINT{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))}, static_cast<UINT>(flags));
  return 0;
}

bool AvatarPicker::onFormCommand(WORD id, WORD, HWND) {
  if (id != ID_AVATAR_SELECT_PICTURE) return false;
  choosePictureFile();
  return true;
}

void AvatarPicker::choosePictureFile() {
  std::u16string path(kPathCapacity, u'\0');
  const std::u16string title = platform::loadString(IDS_SELECT_PICTURE);
  OPENFILENAMEEX ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd();
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = kPathCapacity;
  ofn.lpstrTitle = title.c_str();
  ofn.ExFlags = OFN_EXFLAG_THUMBNAILVIEW;
  // Cancelled, or the chooser failed: the picker stays as it was.
  if (!GetOpenFileNameEx(&ofn)) return;
  picturePath_ = path.c_str();
  chosen_ = kPictureFile;
  end(IDOK);
}

void AvatarPicker::onDone() {
  chosen_ = selected_;
  picturePath_.clear();
  end(IDOK);
}

}  // namespace pellucard
