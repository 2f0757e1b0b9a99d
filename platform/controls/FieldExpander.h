// What the platform shows when the user expands a Smartphone field (an up-down control with
// UDS_EXPANDABLE) and the parent does not take the expansion itself: a full-screen editor for a
// text field, a full-screen pick list for a list. Both are shell screens; the shell, which sits
// above the controls, installs them when it starts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform::controls {

struct TextExpansion {
  HWND owner = nullptr;  // the window the full screen belongs to
  std::u16string title;
  std::u16string text;
  DWORD editStyle = 0;  // the field's ES_ styles the editor keeps (ES_NUMBER, ES_PASSWORD, ES_READONLY)
  int limit = 0;        // the field's text limit; 0 for none
};

struct ListExpansion {
  HWND owner = nullptr;
  std::u16string title;
  std::vector<std::u16string> items;
  int selected = -1;
};

class FieldExpander {
 public:
  // The edited text on Done; nothing on Cancel.
  using TextEditor = std::optional<std::u16string> (*)(const TextExpansion& request);
  // The chosen item; -1 on Cancel.
  using PickList = int (*)(const ListExpansion& request);

  // nullptr for either takes it away.
  static void install(TextEditor editor, PickList pickList);
  static bool canEditText();
  static bool canPickItem();
  // Run the installed screens; without one they answer as if cancelled.
  static std::optional<std::u16string> editText(const TextExpansion& request);
  static int pickItem(const ListExpansion& request);
};

}  // namespace platform::controls
