// What the gift, loan and anniversary forms share: the full-screen form with Done and Cancel,
// titled with the application's name; the Friend row ("None", then every friend in the friend
// list's order), fixed and disabled when the form was opened for one friend, and on the
// Smartphone opened whole as "Select an Item" when the user expands it; text fields that take
// no more than a record holds; and the store step of Done, which ends the form only once the
// record is written. When the database does not take it, the form says why and stays open with
// everything typed, and the collection holds what it held before.
#pragma once

#include <memory>
#include <string>

#include "forms/FormBuilder.h"
#include "forms/FormDialog.h"
#include "platform/base/WinError.h"
#include "store/RecordId.h"

namespace pellucard {

class ItemForm : public platform::WindowImpl<ItemForm, FormDialog> {
 public:
  // The longest text a field takes: the most a text of a record can hold in the volume.
  static constexpr int kMaxText = 0x3FFFF / 2;

  static const platform::MessageMap<ItemForm>& messageMap();

  // The friend the form is opened for (0: none): the Friend row shows it and cannot change.
  void setPresetFriend(LONG friendId) { presetFriend_ = friendId; }
  LONG presetFriend() const { return presetFriend_; }

  // Runs the form over `owner`; IDOK once the record is stored, IDCANCEL otherwise.
  INT_PTR run(HWND owner);
  const FormBuilder& rows() const { return rows_; }

 protected:
  ItemForm();

  FormBuilder& builder() { return rows_; }
  // The local date and time now, with which "Date:" starts.
  static SYSTEMTIME now();
  void addNameRow(UINT id, UINT labelId);
  void addNotesRow(UINT id);
  // "Friend:": "None", then every friend; the preset friend selected and the row disabled.
  void addFriendRow(UINT id);
  // The friend chosen in the Friend row; 0 for "None".
  LONG chosenFriend() const;
  // Selects the friend of an edited item in the Friend row.
  void selectFriend(LONG friendId);

  // Stores through the collection: the edited item changed by `assign` (put back as it was when
  // the write fails), or a new item that `assign` fills (taken out again when it fails). Ends
  // the form with OK once stored; otherwise tells the user why and leaves the form open.
  template <class Item, class Collection, class Assign>
  void save(Collection& items, Item* edited, Assign&& assign) {
    bool stored = false;
    DWORD error = 0;
    if (edited != nullptr) {
      const Item before = *edited;
      assign(*edited);
      stored = items.update(*edited);
      error = GetLastError();
      if (!stored) *edited = before;
    } else {
      auto item = std::make_unique<Item>();
      assign(*item);
      stored = items.add(std::move(item));
      error = GetLastError();
      // The collection keeps an item it could not write, with RecordId 0: no list may show it.
      if (!stored) items.remove(0);
    }
    finishSave(stored, error);
  }

 private:
  LRESULT onExpanding(NMHDR& header);
  void finishSave(bool stored, DWORD error);

  FormBuilder rows_;
  LONG presetFriend_ = 0;
  UINT friendRow_ = 0;
  bool hasFriendRow_ = false;
};

}  // namespace pellucard
