// The values of one task as the service stores them.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace platform::pim {

struct TaskData {
  LONG oid = 0;  // 0 until first saved
  std::string uid;
  std::u16string subject;
  std::u16string body;
  std::u16string categories;  // comma-separated
  bool reminderSet = false;
  DATE reminderTime = 0;  // local time
  DATE dueDate = 0;       // local time; 0 = no due date
};

}  // namespace platform::pim
