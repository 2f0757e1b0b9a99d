// An appointment of the calendar, stored in calendar.ics on Save.
#pragma once

#include <memory>
#include <string>

#include "platform/pim/AppointmentData.h"
#include "platform/pim/Item.h"

namespace platform::pim {

class RecurrencePattern;

class Appointment : public Item {
 public:
  Appointment(std::shared_ptr<PimService> service, AppointmentData data);

  int ItemType() const override { return olAppointmentItem; }
  LONG Oid() const override { return data_->oid; }
  // Writes the whole item; a new item gets its Oid here. Fails when the calendar file
  // cannot be parsed (it is then left as it is) or cannot be written.
  HRESULT Save() override;
  HRESULT Delete() override;
  HRESULT Display() override { return E_NOTIMPL; }

  DATE Start() const { return data_->start; }
  HRESULT SetStart(DATE start);
  LONG Duration() const { return data_->durationMinutes; }
  HRESULT SetDuration(LONG minutes);
  bool AllDayEvent() const { return data_->allDay; }
  void SetAllDayEvent(bool allDay) { data_->allDay = allDay; }
  const std::u16string& Subject() const { return data_->subject; }
  void SetSubject(std::u16string text) { data_->subject = std::move(text); }
  const std::u16string& Body() const { return data_->body; }
  void SetBody(std::u16string text) { data_->body = std::move(text); }
  const std::u16string& Categories() const { return data_->categories; }
  void SetCategories(std::u16string text) { data_->categories = std::move(text); }
  bool ReminderSet() const { return data_->reminderSet; }
  void SetReminderSet(bool set) { data_->reminderSet = set; }
  LONG ReminderMinutesBeforeStart() const { return data_->reminderMinutesBeforeStart; }
  HRESULT SetReminderMinutesBeforeStart(LONG minutes);
  LONG BusyStatus() const { return data_->busyStatus; }
  HRESULT SetBusyStatus(LONG status);  // olFree .. olOutOfOffice
  bool IsRecurring() const { return data_->recurrenceType != -1; }

  // The pattern shares the appointment's values: what is set on it is stored by Save.
  HRESULT GetRecurrencePattern(std::shared_ptr<RecurrencePattern>& pattern);
  HRESULT ClearRecurrencePattern();

 private:
  std::shared_ptr<AppointmentData> data_;
};

}  // namespace platform::pim
