// A task of the task list, stored in tasks.ics on Save.
#pragma once

#include <string>

#include "platform/pim/Item.h"
#include "platform/pim/TaskData.h"

namespace platform::pim {

class Task : public Item {
 public:
  Task(std::shared_ptr<PimService> service, TaskData data);

  int ItemType() const override { return olTaskItem; }
  LONG Oid() const override { return data_.oid; }
  HRESULT Save() override;
  HRESULT Delete() override;
  HRESULT Display() override { return E_NOTIMPL; }

  const std::u16string& Subject() const { return data_.subject; }
  void SetSubject(std::u16string text) { data_.subject = std::move(text); }
  const std::u16string& Body() const { return data_.body; }
  void SetBody(std::u16string text) { data_.body = std::move(text); }
  const std::u16string& Categories() const { return data_.categories; }
  void SetCategories(std::u16string text) { data_.categories = std::move(text); }
  bool ReminderSet() const { return data_.reminderSet; }
  void SetReminderSet(bool set) { data_.reminderSet = set; }
  DATE ReminderTime() const { return data_.reminderTime; }
  HRESULT SetReminderTime(DATE when);
  // 0 when the task has no due date.
  DATE DueDate() const { return data_.dueDate; }
  HRESULT SetDueDate(DATE when);

 private:
  TaskData data_;
};

}  // namespace platform::pim
