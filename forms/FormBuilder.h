// Lays out a form's labelled fields, one row under the other, and reads and writes their values
// by the row id the screen chose.
//
// On Pocket PC a row is one line: the label right-aligned at the left (4 to 80), the field from
// 84 to the right margin with a grey line under it, the next row 19 pixels lower. On Smartphone
// the label (bold) lies above the field, which takes the whole width, and rows are 59 pixels
// apart. Measures double on screens of 192 dots an inch.
//
// Lookups of choice and date values match the row id and the kind together; text, focus and
// the others match the id alone and take the first row. Every by-id operation does nothing, or
// answers the default it names, when no row matches.
//
// The builder owns what it creates: its controls are destroyed and its two fonts deleted when
// it goes (or begins again).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/FieldRow.h"
#include "forms/FontHandle.h"
#include "platform/win/WinUser.h"

namespace platform {
class WindowBase;
}

namespace pellucard {

class FormBuilder {
 public:
  FormBuilder();
  ~FormBuilder();
  FormBuilder(const FormBuilder&) = delete;
  FormBuilder& operator=(const FormBuilder&) = delete;

  // Starts the rows at the top of `parent`'s client area (usually the dialog, from
  // createContent). Rows of an earlier begin are destroyed.
  void begin(HWND parent);

  // A single-line edit; numeric takes digits only, password shows stars.
  void addTextRow(UINT id, const std::u16string& label, const std::u16string& text, bool numeric = false,
                  bool password = false);
  // A one-line edit of a text that may be longer, opened whole in a full-screen editor. Returns
  // the expander: the ExpandButton (Pocket PC) or the up-down control (Smartphone).
  HWND addExpandableTextRow(UINT id, const std::u16string& label, const std::u16string& text, bool readOnly = false);
  // A choice of texts, each standing for the value at the same place; the first is selected.
  // Items are added only when there are as many values as texts. Returns the list: the
  // drop-down combo box (Pocket PC) or the list box (Smartphone).
  HWND addChoiceRow(UINT id, const std::u16string& label, const std::vector<std::u16string>& texts,
                    const std::vector<LPARAM>& values);
  // A date; year 0 shows today's date without a date, which an optional row allows.
  void addDateRow(UINT id, const std::u16string& label, const SYSTEMTIME& date, bool optional = false);
  // A time of day, shown in `format` when one is given ("HH:mm"); year 0 means no time.
  void addTimeRow(UINT id, const std::u16string& label, const SYSTEMTIME& time, const std::u16string& format,
                  bool optional = false);

  // The field's text; empty without a row.
  std::u16string text(UINT id) const;
  void setText(UINT id, const std::u16string& text);
  // The value of the selected item; -1 without a choice row (or without a selection).
  LPARAM choiceValue(UINT id) const;
  void selectChoiceByIndex(UINT id, int index);
  // Selects the first item with this value; with none the selection stays as it was.
  void selectChoiceByValue(UINT id, LPARAM value);
  // The date or time, all zero without a date row or when the field holds no date.
  SYSTEMTIME date(UINT id) const;
  // Year 0 clears the field (an optional one) and shows today's date.
  void setDate(UINT id, const SYSTEMTIME& date);
  void focus(UINT id);
  void enable(UINT id, bool enabled);
  // Shows or hides a row; the rows below move up or down so that shown rows stay one under the
  // other. A hidden row keeps its value. The focus leaves a row as it is hidden. A scrolling
  // screen then sends itself UM_RECOMPUTESCROLL.
  void show(UINT id, bool shown);

  const std::vector<FieldRow>& rows() const { return rows_; }
  // The first row with this id, nullptr without one.
  const FieldRow* row(UINT id) const;
  bool pocketPc() const { return pocketPc_; }
  HFONT fieldFont() const { return fieldFont_.get(); }
  HFONT labelFont() const { return labelFont_.get(); }
  // Where the next row's label and field go, in the parent's client coordinates; a screen that
  // adds content of its own under the rows starts there.
  const RECT& nextLabelRect() const { return labelRect_; }
  const RECT& nextFieldRect() const { return fieldRect_; }
  int rowStep() const { return step_; }

 private:
  // What each row needs besides its FieldRow: where it lies now, in the coordinates of the
  // first layout.
  struct Placement {
    int top = 0;
  };

  const FieldRow* find(UINT id) const;
  const FieldRow* find(UINT id, FieldKind kind) const;
  HWND addLabel(const std::u16string& label);
  HWND addSeparator();
  HFONT labelFontFor(const std::u16string& label);
  // Appends the row and moves the next row's rectangles down.
  void finishRow(FieldRow row);
  HWND createControl(LPCWSTR className, const RECT& rect, const std::u16string& text, DWORD style);
  template <class Control>
  Control& adopt(std::unique_ptr<Control> control);
  void addPicker(UINT id, const std::u16string& label, const SYSTEMTIME& value, DWORD style,
                 const std::u16string& format);
  void restack();
  void destroyControls();

  HWND parent_ = nullptr;
  bool pocketPc_ = false;
  int scale_ = 1;
  FontHandle fieldFont_;
  FontHandle labelFont_;
  struct NarrowFont {
    LONG height;
    FontHandle font;
  };
  std::vector<NarrowFont> narrowLabelFonts_;
  RECT firstLabelRect_{};
  RECT firstFieldRect_{};
  RECT labelRect_{};
  RECT fieldRect_{};
  int step_ = 0;
  std::vector<FieldRow> rows_;
  std::vector<Placement> placements_;
  // Every window the builder made, and the objects behind those it subclassed.
  std::vector<HWND> windows_;
  std::vector<std::unique_ptr<platform::WindowBase>> controls_;
};

}  // namespace pellucard
