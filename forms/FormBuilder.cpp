#include "forms/FormBuilder.h"

#include <algorithm>

#include "forms/ChoiceComboBox.h"
#include "forms/ChoiceField.h"
#include "forms/ExpandableTextField.h"
#include "forms/OptionalDateField.h"
#include "forms/PlatformEdition.h"
#include "forms/SeparatorLine.h"
#include "forms/WindowText.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinDateTime.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "platform/controls/WinStatic.h"
#include "platform/controls/WinUpDown.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/sys/WinBase.h"

namespace pellucard {

namespace {

// Pocket PC fields start a little right of their column, where the line under them starts.
constexpr int kFieldInset = 3;
// The time display style bit; with it alone the picker shows a time.
constexpr DWORD kTimeStyle = 0x0008;
// The Pocket PC picker of an optional date offers "None" in its calendar.
constexpr DWORD kNoneButtonStyle = 0x0080;
// A Pocket PC choice list drops six times the field's height.
constexpr int kDropRows = 6;

RECT offsetRect(RECT r, int dy) {
  r.top += dy;
  r.bottom += dy;
  return r;
}

void moveBy(HWND hwnd, HWND parent, int dy) {
  if (hwnd == nullptr || dy == 0) return;
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(hwnd, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A picker shows today without a date for year 0 (refused by one that must hold a date).
void applyDate(HWND picker, const SYSTEMTIME& date) {
  if (date.wYear == 0) {
    SYSTEMTIME today{};
    GetLocalTime(&today);
    DateTime_SetSystemtime(picker, GDT_VALID, &today);
    DateTime_SetSystemtime(picker, GDT_NONE, &today);
  } else {
    DateTime_SetSystemtime(picker, GDT_VALID, &date);
  }
}

}  // namespace

FormBuilder::FormBuilder() = default;

FormBuilder::~FormBuilder() { destroyControls(); }

void FormBuilder::destroyControls() {
  // Subclassed controls let go of their windows first, then every window the builder made goes.
  for (auto& control : controls_) control->destroyWindow();
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if (IsWindow(*it)) DestroyWindow(*it);
  }
  controls_.clear();
  windows_.clear();
  rows_.clear();
  placements_.clear();
}

void FormBuilder::begin(HWND parent) {
  destroyControls();
  parent_ = parent;
  pocketPc_ = onPocketPc();
  scale_ = formScale();
  const int k = scale_;
  RECT client{};
  GetClientRect(parent, &client);
  const int margin = (pocketPc_ ? 4 : 5) * k;
  const int left = client.left + margin;
  const int top = client.top + margin;
  const int right = client.right - margin;
  fieldFont_ = FontHandle::derived(nullptr, 0, 0);
  if (pocketPc_) {
    labelFont_ = FontHandle::derived(nullptr, 0, -11 * k);
    narrowLabelFonts_.clear();
    labelRect_ = RECT{left, top + 2 * k, 80 * k, top + 21 * k};
    fieldRect_ = RECT{margin + 80 * k, top, right, top + 17 * k};
    step_ = 19 * k;
  } else {
    labelFont_ = FontHandle::derived(nullptr, FW_BOLD, 0);
    labelRect_ = RECT{left, top, right, top + 26 * k};
    fieldRect_ = RECT{left, top + 27 * k, right, top + 53 * k};
    step_ = margin + 26 * k + 26 * k + 2 * k;
  }
  firstLabelRect_ = labelRect_;
  firstFieldRect_ = fieldRect_;
}

// ---------------------------------------------------------------------------------------------
// Rows

HWND FormBuilder::createControl(LPCWSTR className, const RECT& rect, const std::u16string& text, DWORD style) {
  const HWND hwnd = CreateWindowExW(0, className, text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                    rect.bottom - rect.top, parent_, nullptr, nullptr, nullptr);
  if (hwnd != nullptr) windows_.push_back(hwnd);
  return hwnd;
}

template <class Control>
Control& FormBuilder::adopt(std::unique_ptr<Control> control) {
  Control& ref = *control;
  controls_.push_back(std::move(control));
  return ref;
}

HWND FormBuilder::addLabel(const std::u16string& label) {
  const HWND hwnd = createControl(WC_STATICW, labelRect_, label, WS_CHILD | WS_VISIBLE | (pocketPc_ ? SS_RIGHT : 0));
  if (hwnd != nullptr) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(labelFontFor(label)), FALSE);
  return hwnd;
}

// The Pocket PC label column is narrow and a label that wraps there shows cut in half; such a
// label gets the largest smaller size it fits in, down to a size still easy to read.
HFONT FormBuilder::labelFontFor(const std::u16string& label) {
  if (!pocketPc_ || label.empty()) return labelFont_.get();
  const int width = labelRect_.right - labelRect_.left;
  HDC dc = GetDC(parent_);
  if (dc == nullptr) return labelFont_.get();
  auto fits = [&](HFONT font) {
    const platform::gdi::SelectedObject selected(dc, font);
    SIZE extent{};
    return GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(label.c_str()), static_cast<int>(label.size()),
                                 &extent) &&
           extent.cx <= width;
  };
  HFONT chosen = labelFont_.get();
  if (!fits(chosen)) {
    for (const LONG height : {-10, -9}) {
      auto found = std::find_if(narrowLabelFonts_.begin(), narrowLabelFonts_.end(),
                                [&](const NarrowFont& f) { return f.height == height * scale_; });
      if (found == narrowLabelFonts_.end()) {
        narrowLabelFonts_.push_back(NarrowFont{height * scale_, FontHandle::derived(nullptr, 0, height * scale_)});
        found = std::prev(narrowLabelFonts_.end());
      }
      if (found->font.get() == nullptr) continue;
      chosen = found->font.get();
      if (fits(chosen)) break;
    }
  }
  ReleaseDC(parent_, dc);
  return chosen;
}

HWND FormBuilder::addSeparator() {
  if (!pocketPc_) return nullptr;
  auto& line = adopt(std::make_unique<SeparatorLine>());
  return line.create(parent_, RECT{fieldRect_.left, fieldRect_.bottom, fieldRect_.right, fieldRect_.bottom + 1});
}

void FormBuilder::finishRow(FieldRow row) {
  if (row.field != nullptr) SendMessageW(row.field, WM_SETFONT, reinterpret_cast<WPARAM>(fieldFont_.get()), FALSE);
  if (row.companion != nullptr) {
    SendMessageW(row.companion, WM_SETFONT, reinterpret_cast<WPARAM>(fieldFont_.get()), FALSE);
  }
  row.separator = addSeparator();
  placements_.push_back(Placement{labelRect_.top});
  rows_.push_back(row);
  labelRect_ = offsetRect(labelRect_, step_);
  fieldRect_ = offsetRect(fieldRect_, step_);
}

void FormBuilder::addTextRow(UINT id, const std::u16string& label, const std::u16string& text, bool numeric,
                             bool password) {
  if (parent_ == nullptr) return;
  FieldRow row{id, nullptr, addLabel(label), nullptr, nullptr, FieldKind::Text, true};
  RECT r = fieldRect_;
  if (pocketPc_) r.left += kFieldInset * scale_;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  if (numeric) style |= ES_NUMBER;
  if (password) style |= ES_PASSWORD;
  row.field = createControl(WC_EDITW, r, text, style);
  finishRow(row);
}

HWND FormBuilder::addExpandableTextRow(UINT id, const std::u16string& label, const std::u16string& text,
                                       bool readOnly) {
  if (parent_ == nullptr) return nullptr;
  FieldRow row{id, nullptr, addLabel(label), nullptr, nullptr, FieldKind::Text, true};
  RECT r = fieldRect_;
  if (pocketPc_) r.left += kFieldInset * scale_;
  auto& field = adopt(std::make_unique<ExpandableTextField>());
  row.field = field.create(parent_, r, text, readOnly, pocketPc_);
  row.companion = field.expander();
  // The up-down control is the builder's to destroy; the button goes with its edit.
  if (!pocketPc_ && row.companion != nullptr) windows_.push_back(row.companion);
  finishRow(row);
  return row.companion;
}

HWND FormBuilder::addChoiceRow(UINT id, const std::u16string& label, const std::vector<std::u16string>& texts,
                               const std::vector<LPARAM>& values) {
  if (parent_ == nullptr) return nullptr;
  FieldRow row{id, nullptr, addLabel(label), nullptr, nullptr, FieldKind::Choice, true};
  const bool fill = texts.size() == values.size();
  if (pocketPc_) {
    RECT r = fieldRect_;
    r.left += kFieldInset * scale_;
    auto& shown = adopt(std::make_unique<ChoiceField>());
    row.companion = shown.create(parent_, r);
    const int height = r.bottom - r.top;
    auto& list = adopt(std::make_unique<ChoiceComboBox>());
    row.field = list.create(parent_, RECT{r.left, r.top, r.right, r.top + kDropRows * height}, row.companion);
    shown.setComboBox(row.field);
    if (row.field != nullptr) {
      SendMessageW(row.field, WM_SETFONT, reinterpret_cast<WPARAM>(fieldFont_.get()), FALSE);
      SendMessageW(row.field, WM_SETREDRAW, FALSE, 0);
      for (std::size_t i = 0; fill && i < texts.size(); ++i) {
        const LRESULT at = SendMessageW(row.field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i].c_str()));
        if (at >= 0) SendMessageW(row.field, CB_SETITEMDATA, static_cast<WPARAM>(at), values[i]);
      }
      SendMessageW(row.field, WM_SETREDRAW, TRUE, 0);
      SendMessageW(row.field, CB_SETCURSEL, 0, 0);
    }
  } else {
    row.field = createControl(WC_LISTBOXW, fieldRect_, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_NOINTEGRALHEIGHT);
    if (row.field != nullptr) {
      SendMessageW(row.field, WM_SETREDRAW, FALSE, 0);
      for (std::size_t i = 0; fill && i < texts.size(); ++i) {
        const LRESULT at = SendMessageW(row.field, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i].c_str()));
        if (at >= 0) SendMessageW(row.field, LB_SETITEMDATA, static_cast<WPARAM>(at), values[i]);
      }
      SendMessageW(row.field, WM_SETREDRAW, TRUE, 0);
      SendMessageW(row.field, LB_SETCURSEL, 0, 0);
      row.companion = createControl(UPDOWN_CLASSW, RECT{0, 0, 0, 0}, u"",
                                    WS_CHILD | WS_VISIBLE | UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                        UDS_ARROWKEYS | UDS_HORZ | UDS_EXPANDABLE);
      if (row.companion != nullptr) {
        SendMessageW(row.companion, UDM_SETBUDDY, reinterpret_cast<WPARAM>(row.field), 0);
      }
    }
  }
  finishRow(row);
  return row.field;
}

void FormBuilder::addPicker(UINT id, const std::u16string& label, const SYSTEMTIME& value, DWORD style,
                            const std::u16string& format) {
  FieldRow row{id, nullptr, addLabel(label), nullptr, nullptr, FieldKind::Date, true};
  RECT r = fieldRect_;
  if (pocketPc_) r.right -= 1;
  if ((style & DTS_SHOWNONE) && !pocketPc_) {
    auto& picker = adopt(std::make_unique<OptionalDateField>());
    row.field = createControl(DATETIMEPICK_CLASSW, r, u"", style);
    if (row.field != nullptr) picker.subclassWindow(row.field);
  } else {
    row.field = createControl(DATETIMEPICK_CLASSW, r, u"", style);
  }
  if (row.field != nullptr) {
    if (!format.empty()) DateTime_SetFormat(row.field, format.c_str());
    applyDate(row.field, value);
  }
  finishRow(row);
}

void FormBuilder::addDateRow(UINT id, const std::u16string& label, const SYSTEMTIME& date, bool optional) {
  if (parent_ == nullptr) return;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  if (optional) style |= DTS_SHOWNONE | (pocketPc_ ? kNoneButtonStyle : 0);
  addPicker(id, label, date, style, u"");
}

void FormBuilder::addTimeRow(UINT id, const std::u16string& label, const SYSTEMTIME& time, const std::u16string& format,
                             bool optional) {
  if (parent_ == nullptr) return;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | kTimeStyle;
  if (optional) style |= DTS_SHOWNONE;
  addPicker(id, label, time, style, format);
}

// ---------------------------------------------------------------------------------------------
// Values

const FieldRow* FormBuilder::find(UINT id) const {
  const auto it = std::find_if(rows_.begin(), rows_.end(), [&](const FieldRow& r) { return r.id == id; });
  return it != rows_.end() && it->field != nullptr ? &*it : nullptr;
}

const FieldRow* FormBuilder::find(UINT id, FieldKind kind) const {
  const auto it =
      std::find_if(rows_.begin(), rows_.end(), [&](const FieldRow& r) { return r.id == id && r.kind == kind; });
  return it != rows_.end() && it->field != nullptr ? &*it : nullptr;
}

const FieldRow* FormBuilder::row(UINT id) const {
  const auto it = std::find_if(rows_.begin(), rows_.end(), [&](const FieldRow& r) { return r.id == id; });
  return it != rows_.end() ? &*it : nullptr;
}

std::u16string FormBuilder::text(UINT id) const {
  const FieldRow* r = find(id);
  return r != nullptr ? windowText(r->field) : std::u16string();
}

void FormBuilder::setText(UINT id, const std::u16string& text) {
  if (const FieldRow* r = find(id)) SetWindowTextW(r->field, text.c_str());
}

LPARAM FormBuilder::choiceValue(UINT id) const {
  const FieldRow* r = find(id, FieldKind::Choice);
  if (r == nullptr) return -1;
  const UINT getSel = pocketPc_ ? CB_GETCURSEL : LB_GETCURSEL;
  const UINT getData = pocketPc_ ? CB_GETITEMDATA : LB_GETITEMDATA;
  const LRESULT selected = SendMessageW(r->field, getSel, 0, 0);
  if (selected < 0) return -1;
  return SendMessageW(r->field, getData, static_cast<WPARAM>(selected), 0);
}

void FormBuilder::selectChoiceByIndex(UINT id, int index) {
  if (const FieldRow* r = find(id, FieldKind::Choice)) {
    SendMessageW(r->field, pocketPc_ ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void FormBuilder::selectChoiceByValue(UINT id, LPARAM value) {
  const FieldRow* r = find(id, FieldKind::Choice);
  if (r == nullptr) return;
  const LRESULT count = SendMessageW(r->field, pocketPc_ ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (SendMessageW(r->field, pocketPc_ ? CB_GETITEMDATA : LB_GETITEMDATA, static_cast<WPARAM>(i), 0) == value) {
      SendMessageW(r->field, pocketPc_ ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return;
    }
  }
}

SYSTEMTIME FormBuilder::date(UINT id) const {
  SYSTEMTIME value{};
  const FieldRow* r = find(id, FieldKind::Date);
  if (r == nullptr) return value;
  SYSTEMTIME read{};
  if (DateTime_GetSystemtime(r->field, &read) == GDT_VALID) value = read;
  return value;
}

void FormBuilder::setDate(UINT id, const SYSTEMTIME& date) {
  if (const FieldRow* r = find(id, FieldKind::Date)) applyDate(r->field, date);
}

void FormBuilder::focus(UINT id) {
  const FieldRow* r = find(id);
  if (r == nullptr) return;
  // The Pocket PC choice field hands the focus on to its list itself.
  const bool throughField = r->kind == FieldKind::Choice && pocketPc_ && r->companion != nullptr;
  SetFocus(throughField ? r->companion : r->field);
}

void FormBuilder::enable(UINT id, bool enabled) {
  const FieldRow* r = find(id);
  if (r == nullptr) return;
  EnableWindow(r->field, enabled ? TRUE : FALSE);
  if (r->companion != nullptr) EnableWindow(r->companion, enabled ? TRUE : FALSE);
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding rows

void FormBuilder::show(UINT id, bool shown) {
  auto it = std::find_if(rows_.begin(), rows_.end(), [&](const FieldRow& r) { return r.id == id; });
  if (it == rows_.end() || it->shown == shown) return;
  FieldRow& r = *it;
  if (!shown) {
    const HWND focus = GetFocus();
    const bool hasFocus = focus != nullptr && (focus == r.field || focus == r.companion);
    if (hasFocus && parent_ != nullptr) {
      const HWND next = GetNextDlgTabItem(parent_, focus, FALSE);
      if (next != nullptr && next != r.field && next != r.companion) SetFocus(next);
    }
  }
  r.shown = shown;
  const int command = shown ? SW_SHOW : SW_HIDE;
  // The Pocket PC list stays hidden behind its field until the row takes the focus.
  const bool listBehindField = r.kind == FieldKind::Choice && pocketPc_;
  for (HWND hwnd : {r.label, listBehindField ? nullptr : r.field, r.companion, r.separator}) {
    if (hwnd != nullptr) ShowWindow(hwnd, command);
  }
  if (listBehindField && !shown && r.field != nullptr) ShowWindow(r.field, SW_HIDE);
  restack();
}

// Shown rows follow each other from the first row's place; hidden rows keep their place.
void FormBuilder::restack() {
  int slot = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const FieldRow& r = rows_[i];
    if (!r.shown) continue;
    const int top = firstLabelRect_.top + slot * step_;
    const int dy = top - placements_[i].top;
    if (dy != 0) {
      for (HWND hwnd : {r.label, r.field, r.companion, r.separator}) moveBy(hwnd, parent_, dy);
      placements_[i].top = top;
    }
    ++slot;
  }
  const int dy = firstLabelRect_.top + slot * step_ - labelRect_.top;
  labelRect_ = offsetRect(labelRect_, dy);
  fieldRect_ = offsetRect(fieldRect_, dy);
  if (parent_ != nullptr) InvalidateRect(parent_, nullptr, TRUE);
}

}  // namespace pellucard
