// The friend form: its rows, adding and editing through the friend collection, the Picture row
// opening the avatar picker on both editions, avatars and picture files chosen there, Cancel,
// a save the store refuses, and rotation while the form is open.
#include "views/FriendForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "device/AppPaths.h"
#include "forms/WindowText.h"
#include "platform/base/FaultInjection.h"
#include "platform/base/Utf.h"
#include "platform/controls/WinEdit.h"
#include "skin/FriendPictureImage.h"
#include "skin/ImageCache.h"
#include "skin/ImageDecoder.h"
#include "store/FriendCollection.h"
#include "store/FriendsTable.h"
#include "store/RecordStore.h"
#include "tests/views/FormScreenFixture.h"
#include "tests/views/PictureFolder.h"
#include "views/AvatarPicker.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::FaultInjection;
using platform::testing::TestDevice;

class FriendFormTest : public ::testing::TestWithParam<Edition> {
 protected:
  // The form opened without a loop of its own, so that the test types into it.
  void open(Friend* person = nullptr) {
    form = std::make_unique<FriendForm>(person);
    ASSERT_NE(form->open(device.owner(), u"Pellucard"), nullptr);
    device.runUntilIdle();
  }
  void tearDownForm() {
    if (form && IsWindow(form->hwnd())) DestroyWindow(form->hwnd());
    device.runUntilIdle();
  }
  void TearDown() override { tearDownForm(); }

  HWND field(UINT row) const { return form->builder().row(row)->field; }
  void typeInto(UINT row, const std::u16string& text) {
    SetFocus(field(row));
    device.type(text);
  }
  // The Picture row's expander: a tap on its button, or the action key on the field.
  void expandPicture() {
    if (device.pocketPc()) {
      RECT r{};
      GetWindowRect(form->pictureExpander(), &r);
      device.tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    } else {
      SetFocus(field(FriendForm::kPictureRow));
      device.key(VK_RETURN);
    }
  }
  // Steps for the picker: "Select Picture" from its menu, then a tap on the file in the chooser.
  void pickFileInPicker(const std::string& name) {
    device.addStep([this] {
      TestDevice::postKey(VK_F2);
      // The Pocket PC's menu opens with no item highlighted.
      if (device.pocketPc()) TestDevice::postKey(VK_DOWN);
    });
    device.addStep([] { TestDevice::postKey(VK_RETURN); });
    device.addStep([name] { PictureFolder::postPick(platform::toUtf16(name)); });
  }
  Friend& storedFriend(const std::u16string& first, const std::u16string& last, LONG avatar) {
    auto person = std::make_unique<Friend>(first, last, u"", avatar);
    Friend& stored = *person;
    EXPECT_TRUE(getFriendCollection().tryAdd(std::move(person)));
    return stored;
  }
  static void reopenStore() {
    RecordStore::closeAll();
    ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
  }

  PictureFolder pictures;
  FormScreenDevice device{GetParam(), 240, 320};
  std::unique_ptr<FriendForm> form;
  std::vector<SeenBox> seen;
};

TEST_P(FriendFormTest, RowsFollowInTheirOrderWithTheirLabelsAndLimits) {
  open();
  EXPECT_EQ(form->menuBarId(), 1522u) << "Done and Cancel";
  const auto& rows = form->builder().rows();
  ASSERT_EQ(rows.size(), 4u);
  const std::vector<std::pair<UINT, std::u16string>> expected = {
      {0, u"First Name:"}, {1, u"Last Name:"}, {3, u"Notes:"}, {2, u"Picture"}};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].id, expected[i].first);
    EXPECT_EQ(windowText(rows[i].label), expected[i].second);
    if (i > 0) {
      EXPECT_GT(rectInParent(rows[i].field).top, rectInParent(rows[i - 1].field).top);
    }
  }
  EXPECT_EQ(windowText(field(FriendForm::kPictureRow)), u"Change Picture");
  EXPECT_EQ(GetFocus(), field(FriendForm::kFirstNameRow));
  EXPECT_EQ(SendMessageW(field(FriendForm::kFirstNameRow), EM_GETLIMITTEXT, 0, 0),
            static_cast<LRESULT>(Friend::kMaxNameLength));
  EXPECT_EQ(SendMessageW(field(FriendForm::kNotesRow), EM_GETLIMITTEXT, 0, 0),
            static_cast<LRESULT>(Friend::kMaxNotesLength));
}

TEST_P(FriendFormTest, AddingWithoutThePickerStoresAvatarZeroAndNoPicture) {
  open();
  typeInto(FriendForm::kFirstNameRow, u"Zoë");
  typeInto(FriendForm::kLastNameRow, u"Lefèvre");
  typeInto(FriendForm::kNotesRow, u"Tea, no sugar");
  device.key(VK_F1);
  EXPECT_EQ(form->result(), IDOK);
  const RecordId id = form->storedId();
  ASSERT_NE(id, 0u);
  reopenStore();
  const Friend* stored = getFriendCollection().find(id);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->firstName(), u"Zoë");
  EXPECT_EQ(stored->lastName(), u"Lefèvre");
  EXPECT_EQ(stored->notes(), u"Tea, no sugar");
  EXPECT_EQ(stored->avatarIndex(), 0);
  EXPECT_FALSE(stored->picture().hasPicture());
}

TEST_P(FriendFormTest, AFriendWithoutNamesIsAddedAndCancelAddsNothing) {
  device.addStep([] { TestDevice::postKey(VK_F1); });
  const RecordId id = FriendForm::add(device.owner());
  ASSERT_NE(id, 0u) << "nothing is validated";
  EXPECT_EQ(getFriendCollection().find(id)->displayName(), u"");

  device.addStep([] { TestDevice::postKey('A'); });
  device.addStep([] { TestDevice::postKey(VK_F2); });
  EXPECT_EQ(FriendForm::add(device.owner()), 0u);
  EXPECT_EQ(getFriendCollection().size(), 1u);
}

TEST_P(FriendFormTest, EditingShowsTheFriendAndDoneStoresTheChanges) {
  Friend& ann = storedFriend(u"Ann", u"Lee", 3);
  const RecordId id = ann.recordId();
  std::vector<std::u16string> shown;
  device.addStep([&shown] {
    for (HWND child = GetWindow(GetActiveWindow(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      shown.push_back(windowText(child));
    TestDevice::postKey(VK_END);
    TestDevice::postKey('S');
    TestDevice::postKey(VK_F1);
  });
  EXPECT_TRUE(FriendForm::edit(device.owner(), ann));
  EXPECT_NE(std::find(shown.begin(), shown.end(), u"Ann"), shown.end());
  EXPECT_NE(std::find(shown.begin(), shown.end(), u"Lee"), shown.end());
  reopenStore();
  const Friend* stored = getFriendCollection().find(id);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->firstName(), u"Anns");
  EXPECT_EQ(stored->avatarIndex(), 3) << "the face as it was";

  device.addStep([] { TestDevice::postKey(VK_F2); });
  EXPECT_FALSE(FriendForm::edit(device.owner(), *getFriendCollection().find(id)));
}

// The picker opens on the friend's stored face, the first avatar for an own picture; the avatar
// chosen there replaces the picture when Done is pressed, not before.
TEST_P(FriendFormTest, ChoosingAnAvatarForAFriendWithAPictureDropsThePicture) {
  ASSERT_TRUE(pictures.addJpeg("face.jpg", 30, 30));
  Friend& ann = storedFriend(u"Ann", u"Lee", 0);
  ASSERT_TRUE(FriendPictureImage::setFromFile(ann.picture(), PictureFolder::devicePath("face.jpg")));
  ann.assign(u"Ann", u"Lee", u"", Friend::kOwnPicture);
  ASSERT_TRUE(getFriendCollection().update(ann));
  const RecordId id = ann.recordId();

  open(&ann);
  std::u16string picker;
  device.addStep([&picker] {
    picker = windowText(GetActiveWindow());
    TestDevice::postKey(VK_RIGHT);
    TestDevice::postKey(VK_RETURN);
  });
  expandPicture();
  EXPECT_EQ(picker, u"Select an Avatar");
  EXPECT_EQ(form->chosenAvatar(), 1) << "opened on avatar 0, then Right";
  EXPECT_TRUE(ann.picture().hasPicture()) << "nothing changes before Done";
  EXPECT_EQ(GetActiveWindow(), form->hwnd());

  device.key(VK_F1);
  EXPECT_EQ(form->result(), IDOK);
  reopenStore();
  const Friend* stored = getFriendCollection().find(id);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->avatarIndex(), 1);
  EXPECT_FALSE(stored->picture().hasPicture());
}

TEST_P(FriendFormTest, SelectPictureThenCancelInTheFormLeavesTheFriendUnchanged) {
  ASSERT_TRUE(pictures.addJpeg("face.jpg", 30, 30));
  Friend& ann = storedFriend(u"Ann", u"Lee", 2);
  const RecordId id = ann.recordId();
  open(&ann);
  pickFileInPicker("face.jpg");
  expandPicture();
  EXPECT_EQ(form->chosenAvatar(), Friend::kOwnPicture);
  EXPECT_TRUE(form->hasPendingPicture());
  device.key(VK_F2);
  EXPECT_EQ(form->result(), IDCANCEL);
  EXPECT_EQ(ann.avatarIndex(), 2);
  EXPECT_FALSE(ann.picture().hasPicture());
  reopenStore();
  EXPECT_EQ(getFriendCollection().find(id)->avatarIndex(), 2);
  EXPECT_FALSE(getFriendCollection().find(id)->picture().hasPicture());
}

TEST_P(FriendFormTest, AChosenPictureIsStoredFittedIntoTheAvatarSize) {
  ASSERT_TRUE(pictures.addJpeg("wide.jpg", 400, 200));
  open();
  typeInto(FriendForm::kFirstNameRow, u"Søren");
  pickFileInPicker("wide.jpg");
  expandPicture();
  device.key(VK_F1);
  ASSERT_EQ(form->result(), IDOK);
  reopenStore();
  const Friend* stored = getFriendCollection().find(form->storedId());
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->avatarIndex(), Friend::kOwnPicture);
  const auto size = ImageDecoder::readSize(stored->picture().bytes());
  ASSERT_TRUE(size.has_value());
  const SIZE box = ImageCache::instance().layout().avatarSize();
  EXPECT_EQ(size->cx, box.cx) << "full width, as the picture is wider than high";
  EXPECT_EQ(size->cy, box.cy / 2);
}

TEST_P(FriendFormTest, APictureThatCannotBeReadIsReportedAndChangesNothing) {
  ASSERT_TRUE(pictures.addFile("broken.jpg", "\xFF\xD8\xFF but nothing more"));
  open();
  pickFileInPicker("broken.jpg");
  device.answerBox(seen);
  expandPicture();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(
      seen[0].shows(u"\"\\My Documents\\broken.jpg\" could not be read as a picture. Choose a JPEG or PNG "
                    u"picture."));
  EXPECT_EQ(form->chosenAvatar(), 0);
  EXPECT_FALSE(form->hasPendingPicture());
  EXPECT_TRUE(IsWindow(form->hwnd()));
}

// A full disk: the form says so and stays with what was typed, the list shows nothing new, and
// Done succeeds once the disk has room. An edit the store refuses leaves the friend as stored.
TEST_P(FriendFormTest, ASaveTheStoreRefusesKeepsTheFormOpenAndTheListsUnchanged) {
  open();
  typeInto(FriendForm::kFirstNameRow, u"Ann");
  {
    FaultInjection::Armed full({.operations = FaultInjection::kChanges, .times = 0, .pathPattern = "*/Pellucard.cdb*"});
    device.answerBox(seen);
    device.key(VK_F1);
  }
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(
      seen[0].shows(u"The item could not be saved: the storage is full. What you entered is still in the form."));
  EXPECT_EQ(seen[0].owner, form->hwnd());
  ASSERT_TRUE(IsWindow(form->hwnd()));
  EXPECT_EQ(windowText(field(FriendForm::kFirstNameRow)), u"Ann");
  EXPECT_EQ(getFriendCollection().size(), 0u);
  device.key(VK_F1);
  EXPECT_EQ(form->result(), IDOK);
  EXPECT_EQ(getFriendCollection().size(), 1u);
}

TEST_P(FriendFormTest, AnEditTheStoreRefusesLeavesTheFriendAsStored) {
  storedFriend(u"Ann", u"Lee", 0);
  Friend& bob = storedFriend(u"Bob", u"Zed", 4);
  open(&bob);
  SetWindowTextW(field(FriendForm::kFirstNameRow), u"Aaron");
  getFriendsTable().refuseWrites(true);
  device.answerBox(seen);
  device.key(VK_F1);
  getFriendsTable().refuseWrites(false);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(
      seen[0].shows(u"The item could not be saved: Pellucard does not change a database it could not read. What "
                    u"you entered is still in the form. To put a backup in place of the database, use Backup > "
                    u"Restore."));
  EXPECT_TRUE(IsWindow(form->hwnd()));
  EXPECT_EQ(bob.firstName(), u"Bob");
  const auto friends = getFriendCollection().snapshot();
  ASSERT_EQ(friends.size(), 2u);
  EXPECT_EQ(friends[0]->firstName(), u"Ann") << "the order of the stored names";
  EXPECT_EQ(windowText(field(FriendForm::kFirstNameRow)), u"Aaron");
}

TEST_P(FriendFormTest, RotatingWhileTheFormIsOpenWidensTheFieldsAndKeepsWhatWasTyped) {
  open();
  typeInto(FriendForm::kLastNameRow, u"Lee");
  const int before = rectInParent(field(FriendForm::kLastNameRow)).right;
  device.rotate();
  device.runUntilIdle();
  RECT client{};
  GetClientRect(form->hwnd(), &client);
  EXPECT_GT(rectInParent(field(FriendForm::kLastNameRow)).right, before + 60);
  EXPECT_LE(rectInParent(field(FriendForm::kLastNameRow)).right, client.right);
  EXPECT_EQ(windowText(field(FriendForm::kLastNameRow)), u"Lee");
  std::u16string picker;
  device.addStep([&picker] {
    picker = windowText(GetActiveWindow());
    TestDevice::postKey(VK_RETURN);
  });
  expandPicture();
  EXPECT_EQ(picker, u"Select an Avatar") << "the moved expander still opens the picker";
  device.key(VK_F1);
  ASSERT_EQ(form->result(), IDOK);
  EXPECT_EQ(getFriendCollection().find(form->storedId())->lastName(), u"Lee");
}

INSTANTIATE_TEST_SUITE_P(Editions, FriendFormTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
