#include "app/Startup.h"

#include <memory>
#include <optional>

#include "app/AppCaption.h"
#include "app/AppModule.h"
#include "app/DatabaseProblem.h"
#include "app/HelpFile.h"
#include "app/MainFrame.h"
#include "app/SingleInstance.h"
#include "device/AppPaths.h"
#include "device/DeviceKeyMap.h"
#include "device/DeviceProfile.h"
#include "device/TextError.h"
#include "outlook/OutlookConnection.h"
#include "outlook/UninstallCleanup.h"
#include "pin/PinLock.h"
#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/shell/WinMessageBox.h"
#include "platform/sys/DevicePath.h"
#include "platform/sys/InitCommonControls.h"
#include "platform/sys/ObjBase.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WinUser.h"
#include "resources/HelpFile.h"
#include "resources/Icons.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "settings/StoreWiring.h"
#include "skin/ImageCache.h"
#include "skin/ThumbnailJob.h"
#include "store/RecordStore.h"
#include "views/ContactImport.h"
#include "views/FontCache.h"
#include "views/PinDialog.h"
#include "views/RecordForms.h"

namespace pellucard {

namespace {

void setArrowCursor() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }

// The resources built into the program, handed to the platform's loaders.
void registerResources() {
  registerStringTable();
  registerMenus();
  registerIcons();
  // The shell's file chooser and contact card decode pictures with the program's image code.
  ThumbnailJob::install();
}

bool contains(const std::u16string& text, const char16_t* word) { return text.find(word) != std::u16string::npos; }

}  // namespace

int Startup::run(HINSTANCE instance, const std::u16string& commandLine, int showCommand) {
  registerResources();
  connectStoreToSettings();
  if (contains(commandLine, u"uninstall")) {
    uninstall(instance, contains(commandLine, u"reinstall"));
    return 0;
  }
  const HRESULT single = SingleInstance::check(instance, SingleInstance::Mode::Activate);
  if (single != 0) return static_cast<int>(single);
  try {
    normalStart(instance, showCommand);
  } catch (const TextError& error) {
    setArrowCursor();
    MessageBoxW(nullptr, errorMessage(error.text()).c_str(), appCaption().c_str(), MB_OK | MB_ICONERROR);
  }
  shutdown();
  return 0;
}

std::u16string Startup::errorMessage(const std::u16string& text) {
  return platform::loadString(IDS_APP_ERROR) + text + platform::loadString(IDS_APP_ERROR_SUPPORT);
}

void Startup::normalStart(HINSTANCE instance, int showCommand) {
  CoInitializeEx(nullptr, 0);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = 8;
  controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_DATE_CLASSES;
  InitCommonControlsEx(&controls);
  AppModule::init(instance);

  AppPaths& paths = getAppPaths();
  Settings& settings = getSettings();
  settings.load();
  // Help always names a file: the guide built into the program is written when missing (after
  // the settings, whose first save makes the application folder).
  HelpFile::install(paths.helpPath(), helpFileText());
  bool firstLaunch = false;
  if (!settings.firstStartDone()) {
    settings.setFirstStartDone();
    firstLaunch = true;
  }
  ImageCache::instance().setUpRoles(settings.deviceProfile().layout(), u"");

  // A failure of any of these leaves that part empty; the program starts all the same. What the
  // store could not read is told once the main window shows.
  getOutlookConnection().start();
  ContactImport::installContactChooser();
  setFormLauncher(&RecordForms::instance());
  FontCache::instance();
  RecordStore::openAndLoadAll(paths.databasePath());
  const std::u16string shownPath = platform::toUtf16(platform::sys::DevicePath::toHost(paths.databasePath()));
  const std::optional<std::u16string> problem = DatabaseProblem::message(RecordStore::lastLoad(), shownPath);

  runMainWindow(instance, showCommand, firstLaunch, problem);
}

void Startup::runMainWindow(HINSTANCE, int showCommand, bool firstLaunch,
                            const std::optional<std::u16string>& databaseProblem) {
  platform::MessageLoop loop;
  AppModule::addMessageLoop(&loop);
  auto frame = std::make_unique<MainFrame>();
  if (!frame->create()) {
    frame.reset();
    AppModule::removeMessageLoop();
    return;
  }
  setArrowCursor();
  getPinLock().setPinPrompt(&PinDialog::ask);
  if (!getPinLock().verify(u"")) {
    MessageBoxW(nullptr, platform::loadString(IDS_PIN_REFUSED).c_str(), appCaption().c_str(), MB_OK);
    frame.reset();
    AppModule::removeMessageLoop();
    return;
  }
  ShowWindow(frame->hwnd(), showCommand);
  SetForegroundWindow(frame->hwnd());
  if (databaseProblem)
    MessageBoxW(frame->hwnd(), databaseProblem->c_str(), appCaption().c_str(), MB_OK | MB_ICONEXCLAMATION);
  if (firstLaunch) PostMessageW(frame->hwnd(), UM_FIRSTLAUNCH, 0, 0);
  loop.addMessageFilter(frame.get());
  loop.run();
  loop.removeMessageFilter(frame.get());
  AppModule::removeMessageLoop();
  frame.reset();
}

void Startup::uninstall(HINSTANCE instance, bool reinstall) {
  setArrowCursor();
  getAppPaths();
  if (SingleInstance::check(instance, SingleInstance::Mode::Close) == 0) {
    if (!reinstall) {
      CoInitializeEx(nullptr, 0);
      UninstallCleanup::run();
    }
    deleteAppPaths();
  }
  shutdown();
}

void Startup::shutdown() {
  setArrowCursor();
  deleteAppPaths();
  deleteSettings();
  ImageCache::destroy();
  RecordStore::closeAll();
  deleteOutlookConnection();
  FontCache::destroy();
  deletePinLock();
  deleteDeviceKeyMap();
  AppModule::term();
  CoUninitialize();
}

}  // namespace pellucard
