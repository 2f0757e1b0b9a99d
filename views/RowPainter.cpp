#include "views/RowPainter.h"

#include <algorithm>
#include <optional>

#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/sys/WinBase.h"
#include "platform/sys/WinNls.h"
#include "resources/StringIds.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "views/DateText.h"
#include "views/FontCache.h"
#include "views/PictureIcons.h"
#include "views/SearchHighlight.h"

namespace pellucard {

namespace {

std::u16string shortDate(const SYSTEMTIME& date) { return DateText::shortDate(date, LOCALE_USER_DEFAULT); }

}  // namespace

RowPainter::Layout RowPainter::layoutOf(const RECT& row) {
  Layout l{};
  l.content = RECT{row.left + 3, row.top + 1, row.right - 3, row.bottom - 1};
  const int h = l.content.bottom - l.content.top;
  l.icon = RECT{l.content.left, l.content.top, l.content.left + h, l.content.top + h};
  l.text = RECT{l.content.left + h, l.content.top, l.content.right, l.content.bottom};
  const int middle = l.content.top + h / 2;
  l.line1 = RECT{l.text.left, l.content.top, l.text.right, middle};
  l.line2 = RECT{l.text.left, middle, l.text.right, middle + h / 2};
  return l;
}

void RowPainter::drawSelectionBar(HDC hdc, const RECT& rect) {
  ImageEntry* bar = ImageCache::instance().loadedEntry(ImageCache::kSelectionBar);
  if (bar == nullptr || !bar->colour) return;
  const int width = rect.right - rect.left;
  const int image = bar->colour.width();
  const int height = bar->colour.height();
  if (image == width) {
    SkinPainter::drawSkinImageAt(hdc, bar, rect.left, rect.top);
    return;
  }
  if (image < width) {
    // Rows wider than the screen's images (a high-resolution screen) get the bar repeated.
    SkinPainter::drawAcross(hdc, bar, rect.left, rect.top, width);
    return;
  }
  // Both ends of the bar stay: the left part up to 2W - B, then the image's last B - W columns.
  const int leftPart = 2 * width - image;
  if (leftPart > 0) {
    SkinPainter::drawSkinImage(hdc, bar, RECT{rect.left, rect.top, rect.left + leftPart, rect.top + height},
                               RECT{0, 0, leftPart, height});
  }
  const int rightStart = std::max(width, 0);
  if (rightStart < image) {
    const int x = rect.left + std::max(leftPart, 0);
    SkinPainter::drawSkinImage(hdc, bar, RECT{x, rect.top, x + image - rightStart, rect.top + height},
                               RECT{rightStart, 0, image, height});
  }
}

void RowPainter::drawFrame(HDC hdc, const RECT& icon, int role, long frame) {
  ImageEntry* strip = ImageCache::instance().loadedEntry(role);
  if (strip == nullptr || !strip->colour || strip->colour.height() <= 0) return;
  const int size = strip->colour.height();
  const long frames = strip->colour.width() / size;
  if (frame < 0 || frame >= frames) return;
  const int h = icon.bottom - icon.top;
  const int m = (h - size) / 2;
  const int x = icon.left + m;
  const int y = icon.top + m;
  const int sx = static_cast<int>(frame) * size;
  SkinPainter::drawSkinImage(hdc, strip, RECT{x, y, x + size, y + size}, RECT{sx, 0, sx + size, size});
}

bool RowPainter::drawPicture(HDC hdc, const RECT& icon, RecordId friendId) {
  const Friend* person = getFriendCollection().find(friendId);
  if (person == nullptr || !person->picture().hasPicture()) return false;
  const DibBitmap* picture = PictureIcons::instance().smallPicture(*person, ImageCache::instance().layout());
  if (picture == nullptr) return false;
  const int h = icon.bottom - icon.top;
  const int x = icon.left + (h - picture->width()) / 2;
  const int y = icon.top + (h - picture->height()) / 2;
  const platform::gdi::MemoryDc source(hdc, picture->handle());
  if (!source) return false;
  source.copyTo(hdc, x, y);
  return true;
}

void RowPainter::drawHighlighted(HDC hdc, std::u16string_view text, std::u16string_view word, int typed,
                                 const RECT& line, UINT format) {
  static const SearchHighlight::Look look{kLineFormat, true, std::nullopt, std::nullopt};
  SearchHighlight::draw(hdc, text, word, typed, line, format, look);
}

void RowPainter::draw(HDC hdc, const RECT& row, RecordId id, std::u16string_view word, bool selected) const {
  if (selected) drawSelectionBar(hdc, row);
  const Layout l = layoutOf(row);
  switch (kind_) {
    case ListKind::Friends:
      drawFriend(hdc, l, id, word);
      break;
    case ListKind::Gifts:
      drawGift(hdc, l, id, word);
      break;
    case ListKind::Loans:
      drawLoan(hdc, l, id, word);
      break;
    case ListKind::Anniversaries:
      drawAnniversary(hdc, l, id, word);
      break;
  }
}

void RowPainter::drawTwoLines(HDC hdc, const Layout& l, std::u16string_view first, std::u16string_view second,
                              std::u16string_view word) const {
  const platform::gdi::SelectedObject font(hdc, smartphone_ ? FontCache::instance().font(FontCache::kSmall) : nullptr);
  drawHighlighted(hdc, first, word, typedKeys_, l.line1, kLineFormat);
  drawHighlighted(hdc, second, word, typedKeys_, l.line2, kLineFormat);
}

void RowPainter::drawFriend(HDC hdc, const Layout& l, RecordId id, std::u16string_view word) const {
  const Friend* person = getFriendCollection().find(id);
  if (person == nullptr) return;
  if (!drawPicture(hdc, l.icon, id)) drawFrame(hdc, l.icon, iconRole_, person->avatarIndex());
  drawHighlighted(hdc, person->displayName(), word, typedKeys_, l.text, DT_CENTER | DT_VCENTER);
}

void RowPainter::drawGift(HDC hdc, const Layout& l, RecordId id, std::u16string_view word) const {
  const Gift* gift = getGiftCollection().find(id);
  if (gift == nullptr) return;
  drawFrame(hdc, l.icon, iconRole_, gift->direction());
  const Friend* person = friendOf(gift->friendId());
  UINT prefixId = IDS_FROM;
  if (gift->direction() == kGiftFor) prefixId = IDS_FOR;
  if (gift->direction() == kGiftIdea) prefixId = IDS_IDEA_FOR;
  std::u16string second;
  if (person != nullptr) {
    second = platform::loadString(prefixId) + u": " + person->displayName();
  } else if (gift->direction() == kGiftIdea) {
    second = platform::loadString(IDS_GENERAL_IDEA);
  } else {
    second = platform::loadString(prefixId) + u": " + platform::loadString(IDS_NOT_SPECIFIED);
  }
  drawTwoLines(hdc, l, gift->name(), second, word);
}

void RowPainter::drawLoan(HDC hdc, const Layout& l, RecordId id, std::u16string_view word) const {
  const Loan* loan = getLoanCollection().find(id);
  if (loan == nullptr) return;
  drawFrame(hdc, l.icon, iconRole_, loan->direction());
  std::u16string first(loan->item());
  bool overdue = false;
  if (loan->returnDate().wYear > 1900) {
    first += u", " + platform::loadString(IDS_DUE) + u" " + shortDate(loan->returnDate());
    SYSTEMTIME now{};
    GetLocalTime(&now);
    overdue = DateText::later(now, loan->returnDate());
  }
  const Friend* person = friendOf(loan->friendId());
  std::u16string second;
  if (person != nullptr) {
    second = platform::loadString(loan->direction() == kLoanTo ? IDS_TO : IDS_FROM) + u": " + person->displayName();
  } else {
    second = platform::loadString(IDS_GENERAL_LOAN);
  }
  const COLORREF oldColour = overdue ? SetTextColor(hdc, kOverdueColour) : 0;
  drawTwoLines(hdc, l, first, second, word);
  if (overdue) SetTextColor(hdc, oldColour);
}

void RowPainter::drawAnniversary(HDC hdc, const Layout& l, RecordId id, std::u16string_view word) const {
  const Anniversary* day = getAnniversaryCollection().find(id);
  if (day == nullptr) return;
  const Friend* person = friendOf(day->friendId());
  if (person == nullptr) {
    drawFrame(hdc, l.icon, ImageCache::kSmallAvatars, 0);
  } else if (!drawPicture(hdc, l.icon, person->recordId())) {
    drawFrame(hdc, l.icon, ImageCache::kSmallAvatars, person->avatarIndex());
  }
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const SYSTEMTIME next = day->nextOccurrence(now);
  const std::optional<int> years = day->yearCount(now);
  std::u16string first = shortDate(next) + u", ";
  first.append(day->name());
  if (years) first += u" [" + platform::toUtf16(std::to_string(*years)) + u"]";
  const std::u16string second =
      person != nullptr ? person->displayName() : platform::loadString(IDS_GENERAL_ANNIVERSARY);
  drawTwoLines(hdc, l, first, second, word);
}

}  // namespace pellucard
