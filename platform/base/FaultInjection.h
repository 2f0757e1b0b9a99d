// One switch over every host file operation the platform makes (the file calls, the registry
// file, the calendar and task files, the database volume's own reads and writes), so that a test
// can make the Nth open, write, sync, rename, removal or truncation fail as a full disk, a failing
// medium or a refused permission would, or end the process right there as a crash would. Nothing
// is armed unless a test arms it; unarmed, each operation costs one atomic load.
#pragma once

#include <cerrno>
#include <cstdint>
#include <string>

namespace platform {

class FaultInjection {
 public:
  enum Operation : unsigned {
    kOpen = 1u << 0,  // opening or creating a file
    kWrite = 1u << 1,
    kSync = 1u << 2,    // fsync of a file or of a folder
    kRename = 1u << 3,  // rename or link into place
    kRemove = 1u << 4,
    kTruncate = 1u << 5,
  };
  static constexpr unsigned kChanges = kWrite | kSync | kRename | kRemove | kTruncate;
  static constexpr unsigned kAll = kOpen | kChanges;

  enum class Strike {
    Fail,          // the operation does nothing and fails with the plan's error
    Kill,          // the process raises SIGKILL before the operation
    KillMidWrite,  // a write puts down the first half of its bytes, then SIGKILL; others as Kill
  };

  struct Plan {
    unsigned operations = kWrite;  // which operations count, any of Operation
    std::uint64_t nth = 1;         // the nth counted operation strikes first; 0: none does, counting only
    std::uint64_t times = 1;       // how many strike from there on; 0: every one (a disk that stays full)
    int error = ENOSPC;            // errno of a failed operation: ENOSPC, EIO or EACCES
    Strike strike = Strike::Fail;
    std::string pathPattern;  // glob (fnmatch, '*' crosses folders) on the host path; empty: every path
  };

  // Plans are independent: each counts the operations it matches. The first plan that strikes
  // decides an operation. Returns the plan's id.
  static int arm(const Plan& plan);
  static void disarm(int id);
  static void disarmAll();
  // Operations the plan matched, and how many of them it struck.
  static std::uint64_t matched(int id);
  static std::uint64_t struck(int id);

  // Syncs still count and strike, but the host is not asked to make them. Only for tests that kill
  // a child process of their own: a killed process loses nothing from the page cache, and thousands
  // of kill points would otherwise wait on the disk.
  static void setSyncsElided(bool elided);
  static bool syncsElided();

  enum class Verdict {
    Proceed,
    Fail,          // errno is set to the plan's error
    KillMidWrite,  // the caller writes half of its bytes, then calls killNow()
  };
  // Asked before each host operation; a planned kill happens here. hostPath may be null (a file
  // without a name).
  static Verdict check(Operation operation, const char* hostPath);
  [[noreturn]] static void killNow();

  // A plan armed for the life of the object.
  class Armed {
   public:
    explicit Armed(const Plan& plan) : id_(arm(plan)) {}
    ~Armed() { disarm(id_); }
    Armed(const Armed&) = delete;
    Armed& operator=(const Armed&) = delete;
    std::uint64_t matched() const { return FaultInjection::matched(id_); }
    std::uint64_t struck() const { return FaultInjection::struck(id_); }

   private:
    int id_;
  };
};

}  // namespace platform
