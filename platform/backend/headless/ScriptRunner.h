// The headless device's input: a script of commands, one a line, run whenever the program's
// message loop has nothing left to do (so scripts drive nested modal loops too). Time is the
// virtual clock: `wait` moves it forward, firing the timers that fall due on the way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend/KeyNames.h"
#include "platform/win/Host.h"

namespace platform {

class ScriptRunner : public Host {
 public:
  explicit ScriptRunner(Edition edition);

  // Adds the commands of a script; on a syntax error nothing is added and `error` says
  // "LINE: reason" (lines count from firstLine).
  bool load(const std::string& text, std::string& error, int firstLine = 1);

  void present(const RECT&) override {}
  bool waitForInput(int timeoutMs) override;
  void pollInput() override {}

  // A command that failed while running (e.g. a screenshot that cannot be written).
  bool failed() const { return failed_; }
  const std::string& failure() const { return failure_; }
  // Every command has run (or `quit` was reached).
  bool finished() const { return next_ >= commands_.size() && !waiting_; }
  size_t remaining() const { return commands_.size() - next_; }

  struct Command {
    enum class Kind { Key, Type, Tap, Soft, Back, Wait, Idle, Clock, Rotate, Screenshot, Dump, Quit, Hold, Drop };
    Kind kind = Kind::Idle;
    int line = 0;
    NamedKey key;
    std::u16string text;
    std::string path;
    int x = 0;
    int y = 0;
    int ms = 0;
    bool left = true;
    SYSTEMTIME time{};  // local time, or UTC with utc set
    bool utc = false;
  };

 private:
  bool run(const Command& c);  // false: stop feeding (quit or failure)
  void fail(const Command& c, const std::string& reason);

  Edition edition_;
  std::vector<Command> commands_;
  size_t next_ = 0;
  bool waiting_ = false;
  std::int64_t waitEnd_ = 0;
  bool holding_ = false;
  NamedKey held_;
  std::int64_t nextRepeat_ = 0;
  bool failed_ = false;
  bool quit_ = false;
  std::string failure_;
};

// Parses an ISO date-time "YYYY-MM-DDTHH:MM[:SS][Z]" into its broken-down parts.
bool parseIsoDateTime(const std::string& text, SYSTEMTIME& out, bool& utc);

}  // namespace platform
