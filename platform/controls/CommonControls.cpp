#include "platform/controls/CommonControls.h"

#include "platform/controls/CommCtrl.h"
#include "platform/controls/ListView.h"
#include "platform/controls/StaticControl.h"
#include "platform/controls/TreeView.h"

namespace platform::controls {

void registerControlClasses() {
  ListView::registerClass();
  StaticControl::registerClass();
  TreeView::registerClass();
}

}  // namespace platform::controls

void InitCommonControls() { platform::controls::registerControlClasses(); }
