// One row of a form: the label, the field that holds the value and what belongs to the field.
#pragma once

#include "forms/FieldKind.h"
#include "platform/base/WinTypes.h"

namespace pellucard {

struct FieldRow {
  UINT id = 0;           // chosen by the screen; need not be unique across kinds
  HWND field = nullptr;  // the edit, the list (combo box or list box) or the date and time picker
  HWND label = nullptr;
  HWND separator = nullptr;  // the line under the field (Pocket PC only)
  // What works the field: the expand button or up-down control of an expandable text row, the
  // ChoiceField in front of a Pocket PC choice list, the up-down control of a Smartphone one.
  HWND companion = nullptr;
  FieldKind kind = FieldKind::Text;
  bool shown = true;
};

}  // namespace pellucard
