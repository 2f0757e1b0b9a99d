#include "outlook/TaskExport.h"

#include "outlook/ExportBatch.h"
#include "outlook/LinkSavedItem.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/ResourceTable.h"
#include "platform/sys/OleAuto.h"
#include "platform/sys/WinBase.h"
#include "resources/StringIds.h"
#include "settings/Settings.h"
#include "store/FriendCollection.h"
#include "store/Loan.h"
#include "store/LoansTable.h"

namespace pellucard {

namespace pim = platform::pim;

namespace {

constexpr ULONGLONG kFileTimeUnitsPerDay = 864000000000ULL;

bool toDate(const SYSTEMTIME& st, DATE& out) {
  SYSTEMTIME copy = st;
  return ::SystemTimeToVariantTime(&copy, &out) != 0;
}

// The date moved whole days earlier, through file times as the platform counts them.
bool daysEarlier(const SYSTEMTIME& st, int days, SYSTEMTIME& out) {
  FILETIME ft{};
  if (!::SystemTimeToFileTime(&st, &ft)) return false;
  ULARGE_INTEGER value{};
  value.u.LowPart = ft.dwLowDateTime;
  value.u.HighPart = ft.dwHighDateTime;
  const ULONGLONG shift = static_cast<ULONGLONG>(days) * kFileTimeUnitsPerDay;
  if (days < 0 || shift > value.QuadPart) return false;
  value.QuadPart -= shift;
  ft.dwLowDateTime = value.u.LowPart;
  ft.dwHighDateTime = value.u.HighPart;
  return ::FileTimeToSystemTime(&ft, &out) != 0;
}

}  // namespace

std::u16string TaskExport::subjectOf(const Loan& loan) {
  UINT verb = 0;
  UINT preposition = 0;
  if (loan.direction() == kLoanFrom) {
    verb = IDS_RETURN;
    preposition = IDS_TO;
  } else if (loan.direction() == kLoanTo) {
    verb = IDS_RETRIEVE;
    preposition = IDS_FROM;
  } else {
    return {};
  }
  std::u16string subject = platform::loadString(verb);
  subject.append(u" ").append(loan.item());
  if (const Friend* owner = friendOf(loan.friendId())) {
    subject.append(u" ").append(platform::loadString(preposition));
    subject.append(u" ").append(owner->displayName());
  }
  return subject;
}

bool TaskExport::exportLoan(Loan& loan) {
  ExportBatch batch(connection_);
  const bool saved = saveTask(loan);
  return batch.end() && saved;
}

bool TaskExport::saveTask(Loan& loan) {
  auto task = std::dynamic_pointer_cast<pim::Task>(connection_.newItem(olTaskItem));
  if (!task) return false;

  task->SetSubject(subjectOf(loan));
  task->SetBody(std::u16string(loan.notes()));
  task->SetCategories(platform::loadString(IDS_APP_TITLE));

  const int days = Settings::reminderDaysInRange(getSettings().loansReminder());
  if (loan.hasReturnDate() && days != Settings::kNoReminder) {
    SYSTEMTIME remindAt{};
    DATE reminder = 0;
    DATE due = 0;
    if (daysEarlier(loan.returnDate(), days, remindAt) && toDate(remindAt, reminder) &&
        toDate(loan.returnDate(), due)) {
      task->SetReminderSet(true);
      task->SetReminderTime(reminder);
      task->SetDueDate(due);
    }
  }
  // A task that was not stored must not be reported as exported, nor replace the earlier one.
  if (FAILED(task->Save())) return false;

  return linkSavedItem(connection_, loan, getLoansTable(), *task, [this](LONG previous) { deleteTask(previous); });
}

void TaskExport::deleteExportedTask(Loan& loan) {
  deleteTask(loan.outlookItemId());
  loan.setOutlookItemId(0);
}

void TaskExport::deleteTask(LONG oid) {
  if (auto item = connection_.itemFromOid(oid); item && item->ItemType() == olTaskItem) item->Delete();
}

}  // namespace pellucard
