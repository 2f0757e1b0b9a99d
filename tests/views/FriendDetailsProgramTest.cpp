// The friend details and item view screens in the running program: headless scripts over a
// database made here, read back from the program's window dumps.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/views/ListFixture.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The part of a dump from a window's line on (its texts and children follow it).
std::string from(const std::string& dump, const std::string& window) {
  const std::size_t at = dump.find(window);
  return at == std::string::npos ? std::string() : dump.substr(at);
}

class DetailsProgram : public ListFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ListFixture::SetUp();
    exe_ = PELLUCARD_PROGRAM_EXE;
    ASSERT_TRUE(fs::exists(exe_)) << exe_;
    ann = addFriend(u"Ann", u"Baker");
    zoe = addFriend(u"Zoe", u"Adams");
    auto scarf = std::make_unique<Gift>(u"Scarf", kGiftFrom, static_cast<LONG>(ann), date(2024, 12, 24), u"");
    getGiftCollection().add(std::move(scarf));
    drill = addLoan(u"Drill", kLoanFrom, ann, date(2025, 1, 10));
    addLoan(u"Tent", kLoanTo, zoe, SYSTEMTIME{});
    RecordStore::closeAll();
    fs::create_directories(dir_ + "/run");
    fs::create_directories(dir_ + "/config");
  }

  // Runs the program on the script; the exit code.
  int run(const std::string& script) {
    const std::string path = dir_ + "/script.txt";
    std::ofstream(path) << "key N\nclock 2025-01-15T10:00\n" << script;
    const std::string command = "cd " + dir_ + " && XDG_RUNTIME_DIR=" + dir_ + "/run XDG_CONFIG_HOME=" + dir_ +
                                "/config " + exe_ + " --headless --edition " + GetParam() + " --app-dir " + dir_ +
                                " --pim-dir " + dir_ + "/pim --script " + path + " 2>" + dir_ + "/stderr.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string dump(const std::string& name) const { return readText(dir_ + "/" + name); }
  std::string errors() const { return readText(dir_ + "/stderr.txt"); }
  bool smartphone() const { return std::string(GetParam()) == "smartphone"; }

  std::string exe_;
  RecordId ann = 0;
  RecordId zoe = 0;
  RecordId drill = 0;
};

TEST_P(DetailsProgram, AFriendsLoanOpensInTheItemViewWithItsRedReturnDate) {
  // Action opens the first friend; Left wraps from Details to Loans; action opens the loan.
  ASSERT_EQ(run("key ENTER\ndump details.txt\nkey LEFT\ndump loans.txt\nkey ENTER\ndump item.txt\n"
                "soft right\nkey UP\nkey ENTER\ndump cancelled.txt\n"),
            0)
      << errors();
  const std::string details = dump("details.txt");
  EXPECT_TRUE(has(details, "window \"Pellucard\" \"Ann Baker\"")) << details;
  EXPECT_TRUE(has(from(details, "\"FriendDetails\""), "text \"Ann\\nBaker\"")) << details;
  EXPECT_TRUE(has(details, "text \"Details\"")) << details;

  const std::string loans = dump("loans.txt");
  EXPECT_TRUE(has(loans, "text \"Loans\"")) << loans;
  EXPECT_TRUE(has(from(loans, "\"LoanList\""), "color=#E00000")) << loans;
  EXPECT_FALSE(has(loans, "Tent")) << "only Ann's loans";

  const std::string item = dump("item.txt");
  const std::string card = from(item, "\"ItemCard\"");
  EXPECT_TRUE(has(card, "text \"Drill\"")) << item;
  EXPECT_TRUE(has(card, "text \"From: Ann Baker\"")) << item;
  EXPECT_TRUE(has(card, "text \"Loan Date: ")) << item;
  const std::size_t returnLine = card.find("text \"Return Date: ");
  ASSERT_NE(returnLine, std::string::npos) << item;
  EXPECT_TRUE(has(card.substr(returnLine, card.find('\n', returnLine) - returnLine), "color=#E00000")) << item;

  // Cancel, the last item of the menu, returns to the friend.
  const std::string cancelled = dump("cancelled.txt");
  EXPECT_TRUE(has(cancelled, "\"LoanList\"")) << cancelled;
  EXPECT_FALSE(has(cancelled, "\"ItemCard\"")) << cancelled;
}

TEST_P(DetailsProgram, RemovingInTheItemViewGoesBackAndRefreshesBothLists) {
  // Remove is the second item from the bottom of the item view's menu; the inserted item
  // "Switch to Friends View" is the fifth from the bottom of the friend's Loans menu (menus
  // are walked upwards, which starts at the last item on both editions).
  ASSERT_EQ(
      run("key ENTER\nkey LEFT\nkey ENTER\nsoft right\nkey UP\nkey UP\nkey ENTER\ndump question.txt\n"
          "key Y\ndump details.txt\nsoft right\nkey UP\nkey UP\nkey UP\nkey UP\nkey UP\nkey ENTER\ndump main.txt\n"
          "key RIGHT\nkey RIGHT\nkey RIGHT\ndump mainloans.txt\n"),
      0)
      << errors();
  EXPECT_TRUE(has(dump("question.txt"), "Permanently delete this item?")) << dump("question.txt");
  const std::string details = dump("details.txt");
  EXPECT_TRUE(has(details, "\"LoanList\"")) << details;
  EXPECT_FALSE(has(details, "Drill")) << details;
  EXPECT_TRUE(has(from(details, "\"LoanList\""), "Empty List")) << details;
  // "Switch to Friends View" shows the main screen.
  EXPECT_TRUE(has(dump("main.txt"), "\"FriendList\"")) << dump("main.txt");
  const std::string loans = dump("mainloans.txt");
  EXPECT_TRUE(has(loans, "Tent")) << loans;
  EXPECT_FALSE(has(loans, "Drill")) << loans;
}

TEST_P(DetailsProgram, BackFromAFriendOpenedInTheItemViewSkipsTheItemView) {
  if (!smartphone()) GTEST_SKIP() << "the Back key is the Smartphone's";
  // The Gifts tab of the main screen, the first gift, then Friend Details, the first item of its menu.
  ASSERT_EQ(run("key RIGHT\nkey ENTER\ndump item.txt\nsoft right\nkey UP\nkey UP\nkey UP\nkey ENTER\ndump friend.txt\n"
                "back\ndump back.txt\n"),
            0)
      << errors();
  EXPECT_TRUE(has(from(dump("item.txt"), "\"ItemCard\""), "text \"Scarf\"")) << dump("item.txt");
  const std::string friendDump = dump("friend.txt");
  EXPECT_TRUE(has(friendDump, "window \"Pellucard\" \"Ann Baker\"")) << friendDump;
  const std::string back = dump("back.txt");
  EXPECT_TRUE(has(back, "\"GiftList\"")) << back;
  EXPECT_TRUE(has(back, "window \"Pellucard\" \"Pellucard\"")) << back;
  EXPECT_FALSE(has(back, "\"ItemCard\"")) << back;
}

INSTANTIATE_TEST_SUITE_P(BothEditions, DetailsProgram, ::testing::Values("pocketpc", "smartphone"));

}  // namespace
}  // namespace pellucard::testing
