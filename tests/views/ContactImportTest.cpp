// The Import Contacts screen over a contacts folder of the test's own: the list in the book's
// order, the category commands, Select all and Deselect all, Done with its one summary, the
// empty book, a dropped file, and the contact service that cannot start.
#include "views/ContactImport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "outlook/OutlookConnection.h"
#include "platform/base/Utf.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/WinMenu.h"
#include "platform/win/Input.h"
#include "resources/CommandIds.h"
#include "settings/Settings.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "tests/support/TempFolder.h"
#include "tests/views/FormScreenFixture.h"
#include "views/ItemChooser.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;
using platform::Edition;
using platform::testing::TestDevice;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string card(const std::string& name, const std::string& categories, const std::string& more = "") {
  return "BEGIN:VCARD\nVERSION:3.0\nUID:" + name + "\nFN:" + name + "\nN:" + name + ";\n" +
         (categories.empty() ? "" : "CATEGORIES:" + categories + "\n") + more + "END:VCARD\n";
}

// What a message box drew, its lines joined as the text had them.
std::string allText(const SeenBox& box) {
  std::string text;
  for (const std::u16string& line : box.texts) text += (text.empty() ? "" : "\r\n") + platform::toUtf8(line);
  return text;
}

class ContactImportScreen : public ::testing::TestWithParam<Edition> {
 protected:
  void SetUp() override {
    platform::DeviceConfig::current().pimDir = (pim_.path() / "pim").string();
    getSettings().setAnniversariesAutoExport(false);
  }
  void TearDown() override { deleteOutlookConnection(); }

  void addCards(const std::string& file, const std::string& text) {
    fs::create_directories(contacts());
    std::ofstream(contacts() / file, std::ios::binary) << text;
  }
  fs::path contacts() const { return pim_.path() / "pim" / "contacts"; }
  void start() { ASSERT_EQ(getOutlookConnection().start(), S_OK); }

  std::vector<std::u16string> rowTexts(const ContactImport& screen) const {
    std::vector<std::u16string> texts;
    for (int row = 0; row < screen.list().count(); ++row) texts.push_back(screen.list().textAt(row));
    return texts;
  }
  std::vector<std::u16string> checkedTexts(const ContactImport& screen) const {
    std::vector<std::u16string> texts;
    for (int row = 0; row < screen.list().count(); ++row)
      if (screen.list().isChecked(row)) texts.push_back(screen.list().textAt(row));
    return texts;
  }
  // The texts of the "By Category" submenu of the screen's menubar as it stands.
  std::vector<std::u16string> categoryMenu(const ContactImport& screen) const {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(screen.menuBar(), SHCMBM_GETSUBMENU, 0, 1000));
    HMENU sub = nullptr;
    for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu) && sub == nullptr; ++i) sub = GetSubMenu(menu, i);
    std::vector<std::u16string> texts;
    for (int i = 0; sub != nullptr && i < GetMenuItemCount(sub); ++i) {
      WCHAR buffer[64] = {};
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_TYPE;
      info.dwTypeData = buffer;
      info.cch = 64;
      GetMenuItemInfoW(sub, static_cast<UINT>(i), TRUE, &info);
      texts.emplace_back(buffer);
    }
    return texts;
  }
  void command(const ContactImport& screen, UINT id) {
    SendMessageW(screen.hwnd(), WM_COMMAND, id, 0);
    device.runUntilIdle();
  }

  platform::testing::TempFolder pim_;
  FormScreenDevice device{GetParam(), 240, 320};
};

TEST_P(ContactImportScreen, NineCategoriesInTheMenuEveryTimeAndWorkAlsoChecksHomework) {
  const char* names[] = {"Work",   "Family", "Friends", "Book club", "Gym",    "Neighbours",
                         "School", "Choir",  "Travel",  "Chess",     "Garden", "Homework"};
  std::string cards;
  for (const char* name : names) cards += card(std::string("In ") + name, name);
  cards += card("Nowhere", "");
  addCards("a.vcf", cards);
  start();
  ContactImport screen;
  ASSERT_NE(screen.open(device.owner()), nullptr);
  device.runUntilIdle();
  EXPECT_EQ(screen.list().count(), 13);
  EXPECT_EQ(screen.list().textAt(0), u"In Work") << "the book's order";
  EXPECT_EQ(screen.list().selectedIndex(), 0);
  EXPECT_EQ(screen.categories().size(), 12u);
  const std::vector<std::u16string> expected{u"Work",       u"Family", u"Friends", u"Book club", u"Gym",
                                             u"Neighbours", u"School", u"Choir",   u"Travel",    u"More..."};
  EXPECT_EQ(categoryMenu(screen), expected);

  // The menubar is made anew on every activation; the categories come again, once.
  device.addStep([] { TestDevice::postKey(VK_F1); });
  ItemChooser::chooseMany(screen.hwnd(), u"Other", {u"x"});
  device.runUntilIdle();
  EXPECT_EQ(categoryMenu(screen), expected);

  command(screen, ContactImport::kFirstCategoryCommand);  // Work
  EXPECT_THAT(checkedTexts(screen), ElementsAre(u"In Work", u"In Homework"));
  EXPECT_EQ(screen.list().selectedIndex(), 0);
  EXPECT_EQ(GetFocus(), screen.list().hwnd());

  command(screen, ID_IMPORT_SELECT_ALL);
  EXPECT_EQ(checkedTexts(screen).size(), 13u);
  command(screen, ID_IMPORT_DESELECT_ALL);
  EXPECT_TRUE(checkedTexts(screen).empty());
  SendMessageW(screen.hwnd(), WM_COMMAND, IDCANCEL, 0);
  device.runUntilIdle();
}

TEST_P(ContactImportScreen, MoreChecksTheContactsOfEveryChosenCategoryKeepingEarlierChecks) {
  addCards("m.vcf", card("Ann", "Choir") + card("Bo", "Chess,Gym") + card("Cy", "Garden") + card("Di", ""));
  start();
  ContactImport screen;
  ASSERT_NE(screen.open(device.owner()), nullptr);
  device.runUntilIdle();
  const_cast<ChooserList&>(screen.list()).setChecked(3, true);
  // In the chooser: the categories in the book's order (Choir, Chess, Gym, Garden); Chess and
  // Garden checked.
  device.addStep([] {
    const HWND chooser = GetActiveWindow();
    const HWND list = GetDlgItem(chooser, ItemChooser::kListId);
    ListView_SetCheckState(list, 1, TRUE);
    ListView_SetCheckState(list, 3, TRUE);
    TestDevice::postKey(VK_F1);
  });
  command(screen, ID_IMPORT_MORE_CATEGORIES);
  EXPECT_THAT(checkedTexts(screen), ElementsAre(u"Bo", u"Cy", u"Di"));
  SendMessageW(screen.hwnd(), WM_COMMAND, IDCANCEL, 0);
  device.runUntilIdle();
}

TEST_P(ContactImportScreen, DoneImportsTheCheckedOnceWithTheirDatesAndSaysSoInOneMessage) {
  addCards("d.vcf", card("Ann Lee", "", "BDAY:1990-05-10\nANNIVERSARY:2015-06-20\n") + card("Bo", "") +
                        card("Cy", "", "NOTE:Likes tea\nX-SPOUSE:Ann\nORG:Acme\n"));
  start();
  std::vector<SeenBox> seen;
  int reloads = 0;
  // Ann and Cy checked by tapping their boxes is the user's way; the list's own call is ours.
  device.addStep([] {
    const HWND list = GetDlgItem(GetActiveWindow(), ContactImport::kListId);
    ListView_SetCheckState(list, 0, TRUE);
    ListView_SetCheckState(list, 2, TRUE);
    TestDevice::postKey(VK_F1);
  });
  device.answerBox(seen);
  EXPECT_TRUE(ContactImport::importContacts(device.owner(), [&] { ++reloads; }));
  EXPECT_EQ(reloads, 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].shows(u"2 contacts were imported.")) << "one message for the import";
  EXPECT_TRUE(seen[0].shows(u"i")) << "the information icon";
  ASSERT_EQ(getFriendCollection().size(), 2u);
  const Friend* cy = getFriendCollection().snapshot()[1];
  EXPECT_EQ(cy->notes(), u"Likes tea\r\nSpouse: Ann\r\nWork: Acme");
  EXPECT_EQ(getAnniversaryCollection().size(), 2u) << "Ann's birthday and anniversary; none for Cy";

  // Everything again: the two friends stay single; the third is new.
  seen.clear();
  device.addStep([] {
    SendMessageW(GetActiveWindow(), WM_COMMAND, ID_IMPORT_SELECT_ALL, 0);
    TestDevice::postKey(VK_F1);
  });
  device.answerBox(seen);
  EXPECT_TRUE(ContactImport::importContacts(device.owner(), {}));
  EXPECT_EQ(getFriendCollection().size(), 3u);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_THAT(allText(seen[0]), HasSubstr("1 contact was imported."));
  EXPECT_THAT(allText(seen[0]), HasSubstr("2 skipped: already a friend."));
  EXPECT_TRUE(seen[0].shows(u"!")) << "something was skipped";
}

TEST_P(ContactImportScreen, CancelAndBackImportNothing) {
  addCards("c.vcf", card("Ann", "") + card("Bo", ""));
  start();
  device.addStep([] {
    SendMessageW(GetActiveWindow(), WM_COMMAND, ID_IMPORT_SELECT_ALL, 0);
    SendMessageW(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(ContactImport::importContacts(device.owner(), {}));
  device.addStep([] {
    SendMessageW(GetActiveWindow(), WM_COMMAND, ID_IMPORT_SELECT_ALL, 0);
    TestDevice::postKey(VK_ESCAPE);
  });
  EXPECT_FALSE(ContactImport::importContacts(device.owner(), {}));
  EXPECT_TRUE(getFriendCollection().empty());
}

TEST_P(ContactImportScreen, AnEmptyBookSaysWhereAFileGoesAndADroppedOneJoinsTheListChecked) {
  start();
  ContactImport screen;
  ASSERT_NE(screen.open(device.owner()), nullptr);
  device.runUntilIdle();
  const std::vector<std::u16string> empty = rowTexts(screen);
  ASSERT_EQ(empty.size(), 2u);
  EXPECT_EQ(empty[0], u"No contacts found");
  EXPECT_THAT(platform::toUtf8(empty[1]), HasSubstr("Put a .vcf file in "));
  EXPECT_THAT(platform::toUtf8(empty[1]), HasSubstr("pim/contacts"));
  EXPECT_FALSE(screen.list().hasCheckBoxes());
  command(screen, ID_IMPORT_SELECT_ALL);

  // A file from elsewhere is dropped on the screen: a copy joins the book, the original stays.
  const std::string original = (pim_.path() / "export.vcf").string();
  const std::string text = card("Ann", "") + card("Bo", "");
  std::ofstream(original, std::ios::binary) << text;
  platform::postFilesDropped({platform::toUtf16(original)}, POINT{120, 160});
  device.runUntilIdle();
  EXPECT_THAT(rowTexts(screen), ElementsAre(u"Ann", u"Bo"));
  EXPECT_TRUE(screen.list().hasCheckBoxes());
  EXPECT_THAT(checkedTexts(screen), ElementsAre(u"Ann", u"Bo"));
  EXPECT_EQ(screen.list().selectedIndex(), 0);
  EXPECT_TRUE(fs::exists(contacts() / "export.vcf"));
  std::ifstream in(original, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text) << "the original is left as it was";

  // A file that holds no card is refused with its name and the reason.
  const std::string picture = (pim_.path() / "photo.jpg").string();
  std::ofstream(picture) << "not a card";
  std::vector<SeenBox> seen;
  device.answerBox(seen);
  platform::postFilesDropped({platform::toUtf16(picture)}, POINT{120, 160});
  device.runUntilIdle();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_THAT(allText(seen[0]), HasSubstr("\"photo.jpg\" was not added to the contacts: it holds no contact (vCard)."));
  EXPECT_EQ(screen.list().count(), 2);
  SendMessageW(screen.hwnd(), WM_COMMAND, IDCANCEL, 0);
  device.runUntilIdle();
}

TEST_P(ContactImportScreen, ContactsThatCannotBeReadAreReportedAndNothingOpens) {
  fs::create_directories(pim_.path() / "pim");
  std::ofstream(contacts()) << "a file in the folder's place";
  EXPECT_TRUE(FAILED(getOutlookConnection().start()));
  std::vector<SeenBox> seen;
  device.answerBox(seen);
  EXPECT_FALSE(ContactImport::importContacts(device.owner(), [] { ADD_FAILURE() << "nothing to reload"; }));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_THAT(allText(seen[0]), HasSubstr("a file stands where that folder should be"));
  EXPECT_TRUE(seen[0].shows(u"!"));
}

TEST_P(ContactImportScreen, RotationFitsTheListToTheNewScreen) {
  addCards("r.vcf", card("Ann", ""));
  start();
  ContactImport screen;
  ASSERT_NE(screen.open(device.owner()), nullptr);
  device.runUntilIdle();
  device.rotate();
  device.runUntilIdle();
  RECT client{};
  GetClientRect(screen.hwnd(), &client);
  const RECT list = rectInParent(screen.list().hwnd());
  EXPECT_EQ(list.right - list.left, client.right);
  EXPECT_EQ(list.bottom - list.top, client.bottom);
  EXPECT_EQ(ListView_GetColumnWidth(screen.list().hwnd(), 0), client.right);
  SendMessageW(screen.hwnd(), WM_COMMAND, IDCANCEL, 0);
  device.runUntilIdle();
}

INSTANTIATE_TEST_SUITE_P(Editions, ContactImportScreen, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
