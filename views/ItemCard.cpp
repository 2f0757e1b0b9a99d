#include "views/ItemCard.h"

#include <optional>
#include <string>

#include "device/PrivateMessages.h"
#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/sys/WinBase.h"
#include "platform/sys/WinNls.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "skin/ImageCache.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "views/CardLook.h"
#include "views/DateText.h"
#include "views/FormLauncher.h"
#include "views/FrameLink.h"
#include "views/ListKind.h"

namespace pellucard {

namespace {

std::u16string systemShortDate(const SYSTEMTIME& date) { return DateText::shortDate(date, LOCALE_SYSTEM_DEFAULT); }

std::u16string text(UINT id) { return platform::loadString(id); }

}  // namespace

const platform::MessageMap<ItemCard>& ItemCard::messageMap() {
  using M = ItemCard;
  static const auto map = platform::MessageMap<M>()
                              .command(ID_ITEM_EDIT, &M::onEdit)
                              .command(ID_ITEM_REMOVE, &M::onRemove)
                              .command(ID_ITEM_FRIEND_DETAILS, &M::onFriendDetails)
                              .chain(NotesCard::messageMap());
  return map;
}

platform::WindowClassInfo ItemCard::windowClass() const {
  platform::WindowClassInfo info;
  info.name = u"ItemCard";
  return info;
}

HWND ItemCard::create(HWND parent, const RECT& rect) {
  kind_ = kRecordFriend;
  id_ = 0;
  return createCard(parent, rect, u"ItemCard", kStyle, 0);
}

HWND ItemCard::frame() const {
  HWND screen = hwnd() != nullptr ? GetParent(hwnd()) : nullptr;
  return screen != nullptr ? GetParent(screen) : nullptr;
}

void ItemCard::setItem(RecordKind kind, RecordId id) {
  const bool known = kind == kRecordGift || kind == kRecordLoan || kind == kRecordAnniversary;
  kind_ = known ? kind : kRecordFriend;
  id_ = known ? id : 0;
  remeasure();
}

void ItemCard::remeasure() {
  if (hwnd() != nullptr) notes().measure(hwnd(), notesText(), CardLook::font());
}

bool ItemCard::hasItem() const {
  switch (kind_) {
    case kRecordGift:
      return getGiftCollection().find(id_) != nullptr;
    case kRecordLoan:
      return getLoanCollection().find(id_) != nullptr;
    case kRecordAnniversary:
      return getAnniversaryCollection().find(id_) != nullptr;
    default:
      return false;
  }
}

std::u16string ItemCard::notesText() const {
  switch (kind_) {
    case kRecordGift:
      if (const Gift* g = getGiftCollection().find(id_)) return std::u16string(g->notes());
      break;
    case kRecordLoan:
      if (const Loan* l = getLoanCollection().find(id_)) return std::u16string(l->notes());
      break;
    case kRecordAnniversary:
      if (const Anniversary* a = getAnniversaryCollection().find(id_)) return std::u16string(a->notes());
      break;
    default:
      break;
  }
  return {};
}

LONG ItemCard::friendIdOfItem() const {
  switch (kind_) {
    case kRecordGift:
      if (const Gift* g = getGiftCollection().find(id_)) return g->friendId();
      break;
    case kRecordLoan:
      if (const Loan* l = getLoanCollection().find(id_)) return l->friendId();
      break;
    case kRecordAnniversary:
      if (const Anniversary* a = getAnniversaryCollection().find(id_)) return a->friendId();
      break;
    default:
      break;
  }
  return 0;
}

std::vector<ItemCard::Line> ItemCard::lines() const {
  std::vector<Line> out;
  switch (kind_) {
    case kRecordGift: {
      const Gift* gift = getGiftCollection().find(id_);
      if (gift == nullptr) break;
      out.push_back({std::u16string(gift->name())});
      UINT prefix = IDS_FROM;
      if (gift->direction() == kGiftFor) prefix = IDS_FOR;
      if (gift->direction() == kGiftIdea) prefix = IDS_IDEA_FOR;
      const Friend* person = friendOf(gift->friendId());
      if (person != nullptr) {
        out.push_back({text(prefix) + u": " + person->displayName()});
      } else if (gift->direction() == kGiftIdea) {
        out.push_back({text(IDS_GENERAL_IDEA)});
      } else {
        out.push_back({text(prefix) + u": " + text(IDS_NOT_SPECIFIED)});
      }
      out.push_back({text(IDS_GIFT_DATE) + u": " + systemShortDate(gift->date())});
      break;
    }
    case kRecordLoan: {
      const Loan* loan = getLoanCollection().find(id_);
      if (loan == nullptr) break;
      out.push_back({std::u16string(loan->item())});
      const Friend* person = friendOf(loan->friendId());
      const std::u16string prefix = text(loan->direction() == kLoanTo ? IDS_TO : IDS_FROM) + u": ";
      out.push_back({prefix + (person != nullptr ? person->displayName() : text(IDS_NOT_SPECIFIED))});
      out.push_back({text(IDS_LOAN_DATE) + u": " + systemShortDate(loan->loanDate())});
      if (loan->hasReturnDate()) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        out.push_back({text(IDS_RETURN_DATE) + u": " + systemShortDate(loan->returnDate()),
                       DateText::later(now, loan->returnDate())});
      }
      break;
    }
    case kRecordAnniversary: {
      const Anniversary* day = getAnniversaryCollection().find(id_);
      if (day == nullptr) break;
      SYSTEMTIME now{};
      GetLocalTime(&now);
      const std::optional<int> years = day->yearCount(now);
      std::u16string title(day->name());
      if (years) title += u" [" + platform::toUtf16(std::to_string(*years)) + u"]";
      out.push_back({title});
      out.push_back({text(IDS_LABEL_DATE) + u" " + systemShortDate(day->date())});
      const Friend* person = friendOf(day->friendId());
      out.push_back(
          {person != nullptr ? text(IDS_LABEL_FRIEND) + u" " + person->displayName() : text(IDS_GENERAL_ANNIVERSARY)});
      break;
    }
    default:
      break;
  }
  return out;
}

void ItemCard::drawContent(HDC dc, HFONT font, SIZE card) {
  const std::vector<Line> shown = lines();
  if (shown.empty()) return;
  RECT area = ImageCache::instance().layout().headerRect();
  area.right = card.cx;
  RECT measured = area;
  DrawTextW(dc, shown[0].text.c_str(), static_cast<int>(shown[0].text.size()), &measured, DT_CALCRECT);
  const int lineHeight = measured.bottom - measured.top;
  RECT line = area;
  for (const Line& l : shown) {
    const COLORREF old = l.overdue ? SetTextColor(dc, kOverdueColour) : 0;
    DrawTextW(dc, l.text.c_str(), static_cast<int>(l.text.size()), &line, 0);
    if (l.overdue) SetTextColor(dc, old);
    line.top += lineHeight;
    line.bottom += lineHeight;
  }
  notes().draw(dc, notesText(), font, card);
}

void ItemCard::onEdit(WORD, WORD, HWND) {
  FormLauncher* forms = formLauncher();
  if (forms == nullptr || !hasItem()) return;
  if (forms->runItemForm(frame(), kind_, id_, 0)) {
    remeasure();
    InvalidateRect(hwnd(), nullptr, TRUE);
    UpdateWindow(hwnd());
  }
}

void ItemCard::onRemove(WORD, WORD, HWND) {
  if (!hasItem()) return;
  HWND owner = frame() != nullptr ? frame() : hwnd();
  if (!FrameLink::confirmDelete(owner)) return;
  UINT listId = 0;
  switch (kind_) {
    case kRecordGift:
      getGiftCollection().remove(id_);
      listId = kGiftListId;
      break;
    case kRecordLoan:
      getLoanCollection().remove(id_);
      listId = kLoanListId;
      break;
    case kRecordAnniversary:
      getAnniversaryCollection().remove(id_);
      listId = kAnniversaryListId;
      break;
    default:
      return;
  }
  setItem(kRecordFriend, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
  HWND target = frame();
  if (target != nullptr) SendMessageW(target, UM_RELOADLIST, listId, 0);
  FrameLink::sendBackRelease(target);
}

void ItemCard::onFriendDetails(WORD, WORD, HWND) {
  const LONG friendId = friendIdOfItem();
  if (friendId != 0 && frame() != nullptr) {
    SendMessageW(frame(), UM_SHOWRECORD, static_cast<WPARAM>(static_cast<RecordId>(friendId)), kRecordFriend);
  }
}

}  // namespace pellucard
