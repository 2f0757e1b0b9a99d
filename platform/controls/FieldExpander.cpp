#include "platform/controls/FieldExpander.h"

namespace platform::controls {
namespace {

struct Screens {
  FieldExpander::TextEditor editor = nullptr;
  FieldExpander::PickList pickList = nullptr;
};

Screens& screens() {
  static Screens s;
  return s;
}

}  // namespace

void FieldExpander::install(TextEditor editor, PickList pickList) { screens() = Screens{editor, pickList}; }

bool FieldExpander::canEditText() { return screens().editor != nullptr; }
bool FieldExpander::canPickItem() { return screens().pickList != nullptr; }

std::optional<std::u16string> FieldExpander::editText(const TextExpansion& request) {
  if (screens().editor == nullptr) return std::nullopt;
  return screens().editor(request);
}

int FieldExpander::pickItem(const ListExpansion& request) {
  if (screens().pickList == nullptr) return -1;
  return screens().pickList(request);
}

}  // namespace platform::controls
