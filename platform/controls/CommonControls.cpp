#include "platform/controls/CommonControls.h"

#include "platform/controls/Button.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListView.h"
#include "platform/controls/StaticControl.h"

namespace platform::controls {

void registerControlClasses() {
  Button::registerClass();
  Edit::registerClass();
  ListView::registerClass();
  StaticControl::registerClass();
}

}  // namespace platform::controls

void InitCommonControls() { platform::controls::registerControlClasses(); }
