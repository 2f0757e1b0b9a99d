#include "platform/controls/CommonControls.h"

#include "platform/controls/Button.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/ListView.h"
#include "platform/controls/StaticControl.h"
#include "platform/controls/TreeView.h"
#include "platform/controls/UpDown.h"

namespace platform::controls {

void registerControlClasses() {
  Button::registerClass();
  Edit::registerClass();
  ListView::registerClass();
  StaticControl::registerClass();
  ListBox::registerClass();
  ComboBox::registerClass();
  DateTimePicker::registerClass();
  TreeView::registerClass();
  UpDown::registerClass();
}

}  // namespace platform::controls

void InitCommonControls() { platform::controls::registerControlClasses(); }
