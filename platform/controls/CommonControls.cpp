#include "platform/controls/CommCtrl.h"
#include "platform/controls/ListView.h"
#include "platform/controls/StaticControl.h"
#include "platform/win/WinError.h"

void InitCommonControls() {
  platform::controls::ListView::registerClass();
  platform::controls::StaticControl::registerClass();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (init == nullptr || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  InitCommonControls();
  return TRUE;
}
