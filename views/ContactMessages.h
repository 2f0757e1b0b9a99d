// What the contact commands tell the user: why the contacts cannot be read, how an import went,
// and why a dropped file was not added.
#pragma once

#include <string>

#include "outlook/ContactImporter.h"
#include "platform/base/WinTypes.h"

namespace pellucard {

class ContactMessages {
 public:
  // The contact service could not start with this result: the folder and the reason in words.
  static std::u16string unavailable(HRESULT startResult, const std::u16string& folder);
  // One message for the whole import: how many were imported, how many skipped and why, and what
  // had to be made smaller. Empty when no contact was checked.
  static std::u16string summary(const ContactImporter::Report& report);
  // A dropped file that was not added, with the reason for the result of adding it.
  static std::u16string dropFailed(const std::u16string& fileName, HRESULT result);
  // The folder as its owner reads it: the home folder shown as "~".
  static std::u16string shownFolder(const std::u16string& hostFolder);
  // The string with each "%s" replaced by the next value, in order.
  static std::u16string format(UINT stringId, std::initializer_list<std::u16string> values);
};

}  // namespace pellucard
