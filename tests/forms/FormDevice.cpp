#include "tests/forms/FormDevice.h"

#include "platform/base/ResourceTable.h"
#include "platform/shell/Shell.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"

namespace pellucard::testing {

FormDevice::FormDevice(platform::Edition edition, int width, int height)
    : TestDevice(edition, width, height), pocketPc_(edition == platform::Edition::PocketPc) {
  registerStringTable();
  registerMenus();
  platform::shell::startShell();
  owner_ = CreateWindowExW(0, u"STATIC", u"Owner", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                           nullptr, nullptr);
  SetActiveWindow(owner_);
  runUntilIdle();
}

FormDevice::~FormDevice() {
  platform::shell::stopShell();
  platform::ResourceTable::instance().clear();
}

void SampleForm::createContent(HWND dialog) {
  builder.begin(dialog);
  builder.addTextRow(kName, u"Name:", u"Anna");
  builder.addTextRow(kCount, u"Count:", u"12", true);
  builder.addTextRow(kSecret, u"PIN:", u"", true, true);
  builder.addExpandableTextRow(kNotes, u"Notes:", u"Likes tea");
  builder.addChoiceRow(kKind, u"Kind:", {u"From", u"For", u"Idea"}, {0, 1, 2});
  builder.addDateRow(kDay, u"Date:", day);
  builder.addTimeRow(kTime, u"Time:", time, u"HH:mm");
  builder.addDateRow(kReturnDay, u"Return:", returnDay, true);
  for (int i = 0; i < extraRows; ++i) {
    builder.addTextRow(static_cast<UINT>(100 + i),
                       u"Extra " + std::u16string(1, static_cast<char16_t>(u'A' + i)) + u":", u"");
  }
  if (afterContent) afterContent(*this);
}

void SampleForm::onDone() {
  done = true;
  storedName = builder.text(kName);
  storedKind = builder.choiceValue(kKind);
  end(IDOK);
}

}  // namespace pellucard::testing
