// What a contact's card says, in the order the handheld's card shows it: the name with job
// title and company at the top, then phones, e-mail addresses, addresses, birthday,
// anniversary, spouse, children, categories and notes. Empty values are left out.
#pragma once

#include <string>
#include <vector>

#include "platform/pim/ContactRecord.h"

namespace platform::shell {

struct CardField {
  std::u16string label;
  std::u16string value;
};

class ContactCardContent {
 public:
  explicit ContactCardContent(const pim::ContactRecord& contact);

  const std::u16string& name() const { return name_; }
  const std::u16string& jobTitle() const { return jobTitle_; }
  const std::u16string& company() const { return company_; }
  const std::vector<CardField>& fields() const { return fields_; }

  // A date in the user's long format; one without a year shows day and month only.
  static std::u16string dateText(const pim::ContactDate& date);

 private:
  std::u16string name_;
  std::u16string jobTitle_;
  std::u16string company_;
  std::vector<CardField> fields_;
};

}  // namespace platform::shell
