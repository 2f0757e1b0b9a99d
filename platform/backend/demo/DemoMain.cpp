// The demo window tree as the program's entry point.
#include "platform/backend/demo/DemoFrame.h"
#include "platform/base/WinMain.h"

int WinMain(HINSTANCE, HINSTANCE, LPWSTR, int showCommand) {
  platform::demo::DemoFrame frame;
  if (!frame.createFrame(showCommand)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
