// A contact of the contacts folder. Contacts are read-only for the program.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/pim/ContactRecord.h"
#include "platform/pim/Item.h"

namespace platform::pim {

class Contact : public Item {
 public:
  Contact(std::shared_ptr<PimService> service, std::shared_ptr<const ContactRecord> record, LONG oid);

  int ItemType() const override { return olContactItem; }
  LONG Oid() const override { return oid_; }
  HRESULT Save() override;    // E_ACCESSDENIED: the cards belong to the address book
  HRESULT Delete() override;  // E_ACCESSDENIED
  // Shows the contact's own card through the handler the program's shell registers.
  HRESULT Display() override;

  const std::u16string& FirstName() const { return record_->firstName; }
  const std::u16string& LastName() const { return record_->lastName; }
  const std::u16string& FileAs() const { return record_->fileAs; }
  const std::u16string& Body() const { return record_->body; }
  const std::u16string& Spouse() const { return record_->spouse; }
  const std::u16string& Children() const { return record_->children; }
  const std::u16string& JobTitle() const { return record_->jobTitle; }
  const std::u16string& CompanyName() const { return record_->companyName; }
  // Comma-separated, in the card's order.
  std::u16string Categories() const;
  // Automation dates at midnight; 0 when the card has none. A date given without a year
  // comes in year 1604 (PimDates::kUnknownYear).
  DATE Birthday() const;
  DATE Anniversary() const;

  // PIMPR_PICTURE opened for reading (access 0x80000000): the picture's encoded bytes.
  // Fails when the contact has no picture or another property or access is asked for.
  HRESULT OpenProperty(CEPROPID propId, DWORD access, std::vector<std::uint8_t>& stream) const;

  const ContactRecord& record() const { return *record_; }

  using DisplayHandler = std::function<HRESULT(const Contact&)>;
  // The shell registers how a contact card is shown; without one Display fails.
  static void setDisplayHandler(DisplayHandler handler);
  static bool hasDisplayHandler();

 private:
  std::shared_ptr<const ContactRecord> record_;
  LONG oid_;
};

}  // namespace platform::pim
