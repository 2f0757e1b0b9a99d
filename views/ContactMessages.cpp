#include "views/ContactMessages.h"

#include <cstdlib>

#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/base/WinError.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace pellucard {

namespace {

void addLine(std::u16string& text, const std::u16string& line) {
  if (!text.empty()) text += u"\r\n";
  text += line;
}

void addCount(std::u16string& text, UINT stringId, int count) {
  if (count > 0) addLine(text, ContactMessages::format(stringId, {platform::toUtf16(std::to_string(count))}));
}

}  // namespace

std::u16string ContactMessages::format(UINT stringId, std::initializer_list<std::u16string> values) {
  return formatString(stringId, values);
}

std::u16string ContactMessages::shownFolder(const std::u16string& hostFolder) {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return hostFolder;
  std::u16string prefix = platform::toUtf16(home);
  while (prefix.size() > 1 && prefix.back() == u'/') prefix.pop_back();
  if (hostFolder.size() > prefix.size() && hostFolder.compare(0, prefix.size(), prefix) == 0 &&
      hostFolder[prefix.size()] == u'/') {
    return u"~" + hostFolder.substr(prefix.size());
  }
  return hostFolder;
}

std::u16string ContactMessages::unavailable(HRESULT startResult, const std::u16string& folder) {
  UINT reason = IDS_REASON_CONTACTS_DENIED;
  if (startResult == HRESULT_FROM_WIN32(ERROR_DIRECTORY)) reason = IDS_REASON_CONTACTS_NOT_A_FOLDER;
  if (startResult == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)) reason = IDS_REASON_CONTACTS_NOT_MADE;
  return format(IDS_CONTACTS_UNAVAILABLE, {shownFolder(folder), platform::loadString(reason)});
}

std::u16string ContactMessages::summary(const ContactImporter::Report& report) {
  if (report.imported + report.skipped() == 0) return {};
  std::u16string text;
  if (report.imported == 1) {
    text = platform::loadString(IDS_IMPORTED_ONE);
  } else {
    text = format(IDS_IMPORTED_MANY, {platform::toUtf16(std::to_string(report.imported))});
  }
  addCount(text, IDS_SKIPPED_LINKED, report.alreadyFriends);
  addCount(text, IDS_SKIPPED_MISSING, report.missing);
  addCount(text, IDS_SKIPPED_NOT_STORED, report.notStored);
  addCount(text, IDS_NOTES_SHORTENED, report.notesShortened);
  addCount(text, IDS_PICTURES_REDUCED, report.picturesReduced);
  if (!report.allSaved) addLine(text, platform::loadString(IDS_IMPORT_NOT_ALL_SAVED));
  return text;
}

std::u16string ContactMessages::dropFailed(const std::u16string& fileName, HRESULT result) {
  UINT reason = IDS_REASON_DROP_NOT_WRITTEN;
  if (result == HRESULT_FROM_WIN32(ERROR_BAD_FORMAT)) reason = IDS_REASON_DROP_NO_CARD;
  if (result == HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE)) reason = IDS_REASON_DROP_TOO_LARGE;
  if (result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || result == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)) {
    reason = IDS_REASON_DROP_UNREADABLE;
  }
  return format(IDS_DROP_NOT_ADDED, {fileName, platform::loadString(reason)});
}

}  // namespace pellucard
