#include "platform/pim/Contact.h"

#include "platform/pim/PimDates.h"

namespace platform::pim {

namespace {

Contact::DisplayHandler& displayHandler() {
  static Contact::DisplayHandler handler;
  return handler;
}

DATE toDate(const std::optional<ContactDate>& d) {
  if (!d) return 0;
  return PimDates::make(d->year == 0 ? PimDates::kUnknownYear : d->year, d->month, d->day, 0);
}

}  // namespace

Contact::Contact(std::shared_ptr<PimService> service, std::shared_ptr<const ContactRecord> record, LONG oid)
    : Item(std::move(service)), record_(std::move(record)), oid_(oid) {}

HRESULT Contact::Save() { return E_ACCESSDENIED; }
HRESULT Contact::Delete() { return E_ACCESSDENIED; }

HRESULT Contact::Display() {
  const DisplayHandler& handler = displayHandler();
  if (!handler) return E_NOTIMPL;
  return handler(*this);
}

void Contact::setDisplayHandler(DisplayHandler handler) { displayHandler() = std::move(handler); }

bool Contact::hasDisplayHandler() { return static_cast<bool>(displayHandler()); }

std::u16string Contact::Categories() const {
  std::u16string out;
  for (const std::u16string& c : record_->categories) {
    if (!out.empty()) out += u", ";
    out += c;
  }
  return out;
}

DATE Contact::Birthday() const { return toDate(record_->birthday); }
DATE Contact::Anniversary() const { return toDate(record_->anniversary); }

HRESULT Contact::OpenProperty(CEPROPID propId, DWORD access, std::vector<std::uint8_t>& stream) const {
  stream.clear();
  if (propId != PIMPR_PICTURE || (access & 0x80000000u) == 0 || (access & 0x40000000u) != 0) return E_INVALIDARG;
  if (record_->picture.empty()) return E_FAIL;
  stream = record_->picture;
  return S_OK;
}

}  // namespace platform::pim
