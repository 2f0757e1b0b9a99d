// One contact as read from a vCard, before the service gives it an Oid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::pim {

// A calendar date from a contact; year 0 means the card gave day and month only.
struct ContactDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

// A phone number or an address with the label the contact card shows beside it.
struct ContactEntry {
  std::u16string label;
  std::u16string value;
};

struct ContactRecord {
  std::u16string uid;
  std::u16string firstName;
  std::u16string lastName;
  std::u16string fullName;
  std::u16string fileAs;  // empty: the service falls back to the full name
  std::u16string body;
  std::u16string spouse;
  std::u16string children;
  std::u16string jobTitle;
  std::u16string companyName;
  std::vector<std::u16string> categories;
  std::vector<ContactEntry> phones;     // in the card's order
  std::vector<std::u16string> emails;   // in the card's order, the preferred one first
  std::vector<ContactEntry> addresses;  // lines joined with CR LF
  std::optional<ContactDate> birthday;
  std::optional<ContactDate> anniversary;
  std::vector<std::uint8_t> picture;  // encoded image bytes as the card carries them
  // Relations given as references to other cards (urn:uuid:...), resolved against the folder.
  std::vector<std::string> spouseRefs;
  std::vector<std::string> childRefs;
  // Every logical line of the card, to order cards whose identities collide.
  std::string content;
  std::string fileName;
  std::size_t position = 0;  // 0-based index of the card in its file
};

}  // namespace platform::pim
