// The user's preferences, kept in the XML settings file of the application folder, and the device
// profile that is recomputed after each load.
#pragma once

#include <memory>
#include <string>

namespace pellucard {

class DeviceProfile;

class Settings {
 public:
  // Defaults: first name first, both auto exports on, reminders 1 day before at 12:00, backup path "\".
  static constexpr int kDefaultReminder = 1;
  static constexpr int kDefaultReminderTime = 12 * 256;  // hour * 256 + minute
  static constexpr int kNoReminder = -1;
  static constexpr int kLongestReminder = 365;             // days
  static constexpr int kLastReminderTime = 23 * 256 + 59;  // 23:59

  // The file is the settings path of AppPaths unless a path is given.
  Settings();
  explicit Settings(std::u16string filePath);
  ~Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  // Reads the file into the values, adds missing elements with their defaults, writes the file back
  // and recomputes the device profile. A missing or malformed file yields the defaults; one that
  // cannot be read at all (a refused permission, a failing medium) also does, but is left as it is.
  // Throws TextError when no XML document can be created.
  void load();
  // Writes every value into the file (other elements of the file stay as they are).
  // Returns false when the file could not be written, or not read first (it is then left alone);
  // callers may ignore it.
  bool save();

  // Whether a first start has already been recorded.
  bool firstStartDone() const { return firstStartDone_ != 0; }
  // Records the first start and saves at once.
  void setFirstStartDone();

  bool fNameFirst() const { return fNameFirst_ != 0; }
  const std::u16string& skinName() const { return skinName_; }
  int backupPeriodOption() const { return backupPeriodOption_; }
  bool anniversariesAutoExport() const { return anniversariesAutoExport_ != 0; }
  int anniversariesReminder() const { return anniversariesReminder_; }
  int anniversariesReminderTime() const { return anniversariesReminderTime_; }
  bool loansAutoExport() const { return loansAutoExport_ != 0; }
  int loansReminder() const { return loansReminder_; }
  int loansReminderTime() const { return loansReminderTime_; }
  const std::u16string& backupPath() const { return backupPath_; }

  // Each setter stores the value and saves the whole file at once; false when the file could not be
  // written (the value is kept in memory all the same, and the old file stays whole).
  bool setFNameFirst(bool value);
  bool setAnniversariesAutoExport(bool value);
  bool setAnniversariesReminder(int days);
  bool setAnniversariesReminderTime(int hourTimes256PlusMinute);
  bool setLoansAutoExport(bool value);
  bool setLoansReminder(int days);
  bool setLoansReminderTime(int hourTimes256PlusMinute);
  bool setBackupPath(const std::u16string& path);

  const std::u16string& filePath() const { return filePath_; }

  // The device facts computed by the last load.
  const DeviceProfile& deviceProfile() const;

  // The nearest valid value of a reminder setting, for where it is used: the file may hold anything
  // a hand edit put there, and keeps it. Days run from kNoReminder to kLongestReminder; a time of
  // day packed as hour * 256 + minute from 0:00 to 23:59.
  static int reminderDaysInRange(int days);
  static int reminderTimeInRange(int packedTime);

  // Leading-decimal-integer parse of a value text: leading blanks and one sign are allowed, the
  // conversion stops at the first other character, no digits give 0, out-of-range values saturate.
  static int parseInt(const std::u16string& text);

 private:
  enum class Direction { Load, Save };
  bool exchange(Direction direction);

  std::u16string filePath_;
  int firstStartDone_ = 0;
  int fNameFirst_ = 1;
  std::u16string skinName_;
  int backupPeriodOption_ = 0;
  int anniversariesAutoExport_ = 1;
  int anniversariesReminder_ = kDefaultReminder;
  int anniversariesReminderTime_ = kDefaultReminderTime;
  int loansAutoExport_ = 1;
  int loansReminder_ = kDefaultReminder;
  int loansReminderTime_ = kDefaultReminderTime;
  std::u16string backupPath_ = u"\\";
  std::unique_ptr<DeviceProfile> deviceProfile_;
};

// Application-wide instance: created (not loaded) on first use, deleted by the shutdown sequence.
Settings& getSettings();
void deleteSettings();

}  // namespace pellucard
