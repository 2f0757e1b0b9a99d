// What start-up says about a load that could not read everything, list by list.
#include "app/DatabaseProblem.h"

#include <gtest/gtest.h>

#include "platform/base/Utf.h"
#include "platform/base/WinError.h"
#include "resources/StringTable.h"

namespace pellucard {
namespace {

using Table = LoadReport::Table;

class DatabaseProblemText : public ::testing::Test {
 protected:
  void SetUp() override {
    registerStringTable();
    for (Table t : {Table::Friends, Table::Gifts, Table::Loans, Table::Anniversaries}) {
      load.table(t).opened = true;
      load.table(t).loaded = 10;
    }
  }
  std::string message() {
    const auto text = DatabaseProblem::message(load, u"/home/me/Pellucard.cdb");
    return text ? platform::toUtf8(*text) : std::string("<none>");
  }
  LoadReport load;
};

TEST_F(DatabaseProblemText, AWholeLoadSaysNothing) { EXPECT_EQ(message(), "<none>"); }

TEST_F(DatabaseProblemText, AScanStoppedPartWaySaysHowFarItGotAndThatTheFileIsLeftAlone) {
  load.table(Table::Gifts).loaded = 35;
  load.table(Table::Gifts).scanError = ERROR_INVALID_DATA;
  load.table(Table::Loans).loaded = 0;
  load.table(Table::Loans).scanError = ERROR_INVALID_DATA;
  load.table(Table::Anniversaries).skipped = 2;
  EXPECT_EQ(message(),
            "Pellucard could not read all of its database \"/home/me/Pellucard.cdb\": the file is damaged.\r\n"
            "Gifts: only the first 35 could be read.\r\n"
            "Loans: none could be read.\r\n"
            "Anniversaries: 2 could not be read.\r\n"
            "The file was left as it is, and Pellucard will not change it. To put a backup in its place, use "
            "Backup > Restore.");
}

TEST_F(DatabaseProblemText, ReasonsAreWordsNotCodes) {
  for (Table t : {Table::Friends, Table::Gifts, Table::Loans, Table::Anniversaries}) {
    load.table(t).opened = false;
    load.table(t).openError = ERROR_ACCESS_DENIED;
  }
  EXPECT_EQ(message(),
            "Pellucard could not read its database \"/home/me/Pellucard.cdb\": Pellucard is not allowed to open it.\r\n"
            "The file was left as it is, and Pellucard will not change it. To put a backup in its place, use "
            "Backup > Restore.");
  EXPECT_EQ(platform::toUtf8(DatabaseProblem::reason(ERROR_DISK_FULL)), "the storage is full");
  EXPECT_EQ(platform::toUtf8(DatabaseProblem::reason(ERROR_READ_FAULT)),
            "the storage reported an error while reading it");
  EXPECT_EQ(platform::toUtf8(DatabaseProblem::reason(12345)), "error 12345") << "an unforeseen code is still shown";
}

}  // namespace
}  // namespace pellucard
