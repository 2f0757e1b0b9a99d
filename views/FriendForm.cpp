#include "views/FriendForm.h"

#include <memory>
#include <string>
#include <utility>

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinUpDown.h"
#include "platform/shell/WinMessageBox.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "skin/FriendPictureImage.h"
#include "store/FriendCollection.h"
#include "views/AvatarPicker.h"
#include "views/FrameLink.h"
#include "views/SaveFailure.h"

namespace pellucard {

namespace {

std::u16string text(UINT id) { return platform::loadString(id); }

}  // namespace

FriendForm::FriendForm(Friend* person)
    : WindowImpl(IDR_FORM_BAR, true), person_(person), chosenAvatar_(person != nullptr ? person->avatarIndex() : 0) {}

const platform::MessageMap<FriendForm>& FriendForm::messageMap() {
  using M = FriendForm;
  static const auto map =
      platform::MessageMap<M>().notify(UDN_EXPANDING, &M::onExpanding).chain(FormDialog::messageMap());
  return map;
}

bool FriendForm::edit(HWND owner, Friend& person) { return FriendForm(&person).run(owner) == IDOK; }

RecordId FriendForm::add(HWND owner) {
  FriendForm form;
  return form.run(owner) == IDOK ? form.storedId() : 0;
}

INT_PTR FriendForm::run(HWND owner) { return FormDialog::run(owner, text(IDS_APP_TITLE)); }

void FriendForm::createContent(HWND dialog) {
  builder_.begin(dialog);
  builder_.addTextRow(kFirstNameRow, text(IDS_LABEL_FIRST_NAME), u"");
  builder_.addTextRow(kLastNameRow, text(IDS_LABEL_LAST_NAME), u"");
  builder_.addExpandableTextRow(kNotesRow, text(IDS_LABEL_NOTES), u"");
  pictureExpander_ = builder_.addExpandableTextRow(kPictureRow, text(IDS_LABEL_PICTURE), text(IDS_CHANGE_PICTURE));
  // What the fields take always fits a friend's record.
  for (const auto& [row, limit] :
       {std::pair{kFirstNameRow, Friend::kMaxNameLength}, std::pair{kLastNameRow, Friend::kMaxNameLength},
        std::pair{kNotesRow, Friend::kMaxNotesLength}}) {
    if (const FieldRow* field = builder_.row(row)) SendMessageW(field->field, EM_LIMITTEXT, limit, 0);
  }
  builder_.focus(kFirstNameRow);
  if (person_ != nullptr) {
    builder_.setText(kFirstNameRow, std::u16string(person_->firstName()));
    builder_.setText(kLastNameRow, std::u16string(person_->lastName()));
    builder_.setText(kNotesRow, std::u16string(person_->notes()));
  }
}

LRESULT FriendForm::onExpanding(NMHDR& header) {
  if (pictureExpander_ == nullptr || header.hwndFrom != pictureExpander_) {
    passOn();
    return 0;
  }
  choosePicture();
  // Taken: the picker opens in place of the text editor.
  return 1;
}

void FriendForm::choosePicture() {
  AvatarPicker picker;
  // The friend's stored face, not a choice made earlier in this form.
  if (person_ != nullptr) picker.preselect(person_->avatarIndex());
  if (picker.run(hwnd()) != IDOK) return;
  if (picker.chosen() == AvatarPicker::kPictureFile) {
    takePictureFile(picker.picturePath());
    return;
  }
  chosenAvatar_ = picker.chosen();
  pendingPicture_.reset();
}

bool FriendForm::takePictureFile(const std::u16string& path) {
  FriendPicture picture;
  if (!FriendPictureImage::setFromFile(picture, path)) {
    std::u16string message = text(IDS_PICTURE_UNREADABLE);
    if (const std::size_t at = message.find(u"%s"); at != std::u16string::npos) message.replace(at, 2, path);
    FrameLink::show(hwnd(), message, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  chosenAvatar_ = Friend::kOwnPicture;
  pendingPicture_ = std::move(picture);
  return true;
}

void FriendForm::onDone() {
  SetLastError(ERROR_SUCCESS);
  if (person_ != nullptr ? storeEdited() : storeNew()) {
    end(IDOK);
    return;
  }
  FrameLink::show(hwnd(), SaveFailure::message(GetLastError()), MB_OK | MB_ICONEXCLAMATION);
}

bool FriendForm::storeEdited() {
  FriendCollection& friends = getFriendCollection();
  // Kept to put back when the store refuses, so that no list shows what was not stored.
  Friend before = *person_;
  person_->assign(builder_.text(kFirstNameRow), builder_.text(kLastNameRow), builder_.text(kNotesRow), chosenAvatar_);
  if (pendingPicture_) person_->picture() = *pendingPicture_;
  if (friends.update(*person_)) {
    storedId_ = person_->recordId();
    return true;
  }
  const DWORD error = GetLastError();
  *person_ = std::move(before);
  friends.resortByName();
  SetLastError(error);
  return false;
}

bool FriendForm::storeNew() {
  auto person = std::make_unique<Friend>(builder_.text(kFirstNameRow), builder_.text(kLastNameRow),
                                         builder_.text(kNotesRow), chosenAvatar_);
  if (pendingPicture_) person->picture() = *pendingPicture_;
  const Friend* added = person.get();
  if (!getFriendCollection().tryAdd(std::move(person))) return false;
  storedId_ = added->recordId();
  return true;
}

}  // namespace pellucard
