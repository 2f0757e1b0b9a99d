#include "app/DatabaseProblem.h"

#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/base/WinError.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace pellucard {

namespace {

std::u16string number(std::size_t n) { return platform::toUtf16(std::to_string(n)); }

// What could not be read of one list, or nothing when it was read whole.
std::u16string tableLine(const LoadReport::TableLoad& t, UINT nameId) {
  const std::u16string name = platform::loadString(nameId);
  if (!t.opened || (t.scanError != 0 && t.loaded == 0)) return DatabaseProblem::format(IDS_RECORDS_NONE_READ, {name});
  if (t.scanError != 0) return DatabaseProblem::format(IDS_RECORDS_READ_UNTIL, {name, number(t.loaded)});
  if (t.skipped != 0) return DatabaseProblem::format(IDS_RECORDS_NOT_READ, {name, number(t.skipped)});
  return {};
}

}  // namespace

std::u16string DatabaseProblem::format(UINT stringId, std::initializer_list<std::u16string> values) {
  return formatString(stringId, values);
}

std::u16string DatabaseProblem::reason(DWORD error) {
  switch (error) {
    case ERROR_BAD_FORMAT:
      return platform::loadString(IDS_REASON_NOT_A_DATABASE);
    case ERROR_INVALID_DATA:
      return platform::loadString(IDS_REASON_DAMAGED);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return platform::loadString(IDS_REASON_ACCESS_DENIED);
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
      return platform::loadString(IDS_REASON_STORAGE_ERROR);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return platform::loadString(IDS_REASON_DISK_FULL);
    case ERROR_SHARING_VIOLATION:
      return platform::loadString(IDS_REASON_IN_USE);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return platform::loadString(IDS_REASON_NO_MEMORY);
    case ERROR_PATH_NOT_FOUND:
      return platform::loadString(IDS_REASON_FOLDER_MISSING);
    default:
      return format(IDS_REASON_ERROR_CODE, {number(error)});
  }
}

std::optional<std::u16string> DatabaseProblem::message(const LoadReport& load, const std::u16string& databasePath) {
  if (load.complete()) return std::nullopt;
  const bool refused = load.refusesWrites();
  const std::u16string why = refused ? reason(load.firstError()) : platform::loadString(IDS_REASON_DAMAGED_RECORDS);
  std::u16string text =
      format(load.nothingRead() ? IDS_DATABASE_UNREADABLE : IDS_DATABASE_PARTLY_READ, {databasePath, why});
  // A volume that gave nothing has nothing to say list by list.
  if (!load.nothingRead()) {
    static constexpr std::pair<LoadReport::Table, UINT> kLists[] = {
        {LoadReport::Table::Friends, IDS_TAB_FRIENDS},
        {LoadReport::Table::Gifts, IDS_TAB_GIFTS},
        {LoadReport::Table::Loans, IDS_TAB_LOANS},
        {LoadReport::Table::Anniversaries, IDS_TAB_ANNIVERSARIES},
    };
    for (const auto& [table, nameId] : kLists) {
      const std::u16string line = tableLine(load.table(table), nameId);
      if (!line.empty()) text += u"\r\n" + line;
    }
  }
  text += u"\r\n";
  text += platform::loadString(refused ? IDS_DATABASE_LEFT_AS_IT_IS : IDS_RECORDS_LEFT_AS_THEY_ARE);
  return text;
}

}  // namespace pellucard
