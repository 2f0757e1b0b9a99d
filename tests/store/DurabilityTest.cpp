#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "tests/cedb/VolumeFile.h"
#include "tests/store/StoreFixture.h"

using namespace pellucard;

namespace {

std::string integrityCheck(const std::string& path) { return platform::testing::VolumeFile(path).integrityCheck(); }

class DurabilityTest : public StoreFixture {};

// A writer killed at a random moment loses no record whose add had returned.
TEST_F(DurabilityTest, AKilledWriterLosesNoAddThatReturned) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  RecordStore::closeAll();
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    if (!RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath())) _exit(2);
    for (int i = 0;; ++i) {
      auto gift = std::make_unique<Gift>(u"gift " + platform::toUtf16(std::to_string(i)), i % 3, 0,
                                         makeDate(2026, 1, 1 + i % 28), std::u16string(200, u'n'));
      Gift* raw = gift.get();
      if (!getGiftCollection().add(std::move(gift))) _exit(3);
      const RecordId id = raw->recordId();
      if (write(fds[1], &id, sizeof id) != sizeof id) _exit(4);
    }
  }
  close(fds[1]);
  std::set<RecordId> returned;
  RecordId id = 0;
  while (returned.size() < 80 && read(fds[0], &id, sizeof id) == sizeof id) returned.insert(id);
  kill(child, SIGKILL);
  // Ids the child reported before it died.
  while (read(fds[0], &id, sizeof id) == sizeof id) returned.insert(id);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "writer stopped on its own with " << WEXITSTATUS(status);

  EXPECT_EQ(integrityCheck(volumePath()), "ok");
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  ASSERT_GE(getGiftCollection().size(), returned.size());
  for (RecordId r : returned) EXPECT_NE(getGiftCollection().find(r), nullptr) << r;
}

// A disk that fills up makes adds fail cleanly: the item stays in memory unstored and what was
// stored before is intact.
TEST_F(DurabilityTest, AFullDiskFailsWritesWithoutLosingStoredRecords) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  for (int i = 0; i < 5; ++i) getFriendCollection().add(std::make_unique<Friend>(u"Kept", u"", u"", 0));
  RecordStore::closeAll();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const auto size = std::filesystem::file_size(volumePath());
    rlimit limit{static_cast<rlim_t>(size + 8192), static_cast<rlim_t>(size + 8192)};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(10);
    if (!RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath())) _exit(11);
    bool failed = false;
    for (int i = 0; i < 20 && !failed; ++i) {
      auto f = std::make_unique<Friend>(u"Big", u"", u"", Friend::kOwnPicture);
      f->picture().loadFromBytes(std::vector<std::uint8_t>(100000, static_cast<std::uint8_t>(i)));
      Friend* raw = f.get();
      if (!getFriendCollection().add(std::move(f))) {
        failed = true;
        if (raw->recordId() != 0) _exit(12);
        if (getFriendCollection().find(0) != raw) _exit(13);
      }
    }
    _exit(failed ? 0 : 14);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(integrityCheck(volumePath()), "ok");
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  std::size_t kept = 0;
  for (const Friend* f : getFriendCollection().snapshot()) kept += f->firstName() == u"Kept";
  EXPECT_EQ(kept, 5u);
}

}  // namespace
