// The form that adds a friend or edits one: first and last name, notes, and the face. The Picture
// row's expander opens the AvatarPicker, on both editions; a picture file chosen there is read
// and fitted at once, and one that cannot be read is reported and changes nothing. Done stores
// the friend through the friend collection (a chosen avatar drops the friend's own picture);
// when the store does not take it, the form says why and stays open with everything entered,
// and the friend in the lists stays as it was. Cancel stores nothing.
#pragma once

#include <optional>

#include "forms/FormBuilder.h"
#include "forms/FormDialog.h"
#include "store/Friend.h"

namespace pellucard {

class FriendForm : public platform::WindowImpl<FriendForm, FormDialog> {
 public:
  enum Row : UINT { kFirstNameRow = 0, kLastNameRow = 1, kPictureRow = 2, kNotesRow = 3 };

  // Edits `person`, which the friend collection owns, or adds a friend when there is none.
  explicit FriendForm(Friend* person = nullptr);

  static const platform::MessageMap<FriendForm>& messageMap();

  // The form on an existing friend; true when Done stored it.
  static bool edit(HWND owner, Friend& person);
  // The form for a new friend; the new friend's RecordId, 0 when the form was cancelled.
  static RecordId add(HWND owner);

  // Runs it over `owner`: IDOK once the friend is stored, IDCANCEL otherwise.
  INT_PTR run(HWND owner);

  // What Done would store as the face: an avatar, or Friend::kOwnPicture with the picture read
  // from the chosen file.
  LONG chosenAvatar() const { return chosenAvatar_; }
  bool hasPendingPicture() const { return pendingPicture_.has_value(); }
  // The friend stored by Done; 0 before.
  RecordId storedId() const { return storedId_; }
  const FormBuilder& builder() const { return builder_; }
  // The Picture row's expander: the ExpandButton (Pocket PC) or the up-down control (Smartphone).
  HWND pictureExpander() const { return pictureExpander_; }

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;

 private:
  LRESULT onExpanding(NMHDR& header);
  void choosePicture();
  // Reads the picked file into the pending picture; false (after telling the user) when it
  // cannot be read.
  bool takePictureFile(const std::u16string& path);
  bool storeEdited();
  bool storeNew();

  Friend* person_;
  FormBuilder builder_;
  HWND pictureExpander_ = nullptr;
  LONG chosenAvatar_ = 0;
  std::optional<FriendPicture> pendingPicture_;
  RecordId storedId_ = 0;
};

}  // namespace pellucard
