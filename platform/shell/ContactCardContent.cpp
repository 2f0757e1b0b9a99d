#include "platform/shell/ContactCardContent.h"

#include "platform/sys/WinBase.h"
#include "platform/sys/WinNls.h"

namespace platform::shell {
namespace {

std::u16string nameOf(const pim::ContactRecord& c) {
  std::u16string name = c.firstName;
  if (!c.lastName.empty()) name += (name.empty() ? u"" : u" ") + c.lastName;
  if (name.empty()) name = c.fullName;
  if (name.empty()) name = c.fileAs;
  if (name.empty()) name = c.companyName;
  return name;
}

}  // namespace

std::u16string ContactCardContent::dateText(const pim::ContactDate& date) {
  SYSTEMTIME st{};
  // A year-less date is shown from a leap year, so 29 February stays a valid day.
  st.wYear = static_cast<WORD>(date.year != 0 ? date.year : 2000);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  FILETIME ft{};
  // The round trip fills in the day of the week the long format names.
  if (!SystemTimeToFileTime(&st, &ft) || !FileTimeToSystemTime(&ft, &st)) return {};
  WCHAR buffer[128] = {};
  const int n = date.year != 0 ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, buffer, 128)
                               : GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, u"MMMM d", buffer, 128);
  return n > 0 ? std::u16string(buffer) : std::u16string();
}

ContactCardContent::ContactCardContent(const pim::ContactRecord& c)
    : name_(nameOf(c)), jobTitle_(c.jobTitle), company_(c.companyName) {
  // A card for a company alone names it once.
  if (company_ == name_) company_.clear();
  const auto add = [&](std::u16string label, const std::u16string& value) {
    if (!value.empty()) fields_.push_back(CardField{std::move(label), value});
  };
  for (const pim::ContactEntry& phone : c.phones) add(phone.label, phone.value);
  for (std::size_t i = 0; i < c.emails.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    add(i == 0 ? std::u16string(u"E-mail") : u"E-mail " + std::u16string(number.begin(), number.end()), c.emails[i]);
  }
  for (const pim::ContactEntry& address : c.addresses) add(address.label, address.value);
  if (c.birthday) add(u"Birthday", dateText(*c.birthday));
  if (c.anniversary) add(u"Anniversary", dateText(*c.anniversary));
  add(u"Spouse", c.spouse);
  add(u"Children", c.children);
  std::u16string categories;
  for (const std::u16string& category : c.categories) categories += (categories.empty() ? u"" : u", ") + category;
  add(u"Categories", categories);
  add(u"Notes", c.body);
}

}  // namespace platform::shell
