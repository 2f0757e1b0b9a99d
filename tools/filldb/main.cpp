// filldb: fills the program's database with made-up friends, gifts, loans and anniversaries.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/base/DeviceConfig.h"
#include "platform/base/HostPath.h"
#include "store/LocalDate.h"
#include "tools/filldb/VolumeFiller.h"

namespace {

void usage() {
  std::puts(
      "usage: filldb --app-dir DIR [--friends N] [--seed S] [--today YYYY-MM-DD]\n"
      "DIR is a host folder: relative to the current folder, ~ is the home folder.\n"
      "Adds N friends (default 200) with 5 gifts, 2.5 loans and 2.5 anniversaries each to\n"
      "DIR/Pellucard.cdb. The same options give the same records; dates lie around --today\n"
      "(default 2026-12-01).");
}

bool parseDate(const std::string& text, SYSTEMTIME& date) {
  int y = 0, m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%c", &y, &m, &d, &tail) != 3) return false;
  date = SYSTEMTIME{static_cast<WORD>(y), static_cast<WORD>(m), 0, static_cast<WORD>(d), 12, 0, 0, 0};
  return pellucard::fileTimeOf(date).has_value();
}

}  // namespace

int main(int argc, char** argv) {
  pellucard::tools::VolumeFiller::Options options;
  std::string appDir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      usage();
      return 0;
    } else if (arg == "--app-dir" && hasValue) {
      appDir = platform::HostPath::resolve(argv[++i]);
    } else if (arg == "--friends" && hasValue) {
      char* end = nullptr;
      const long n = std::strtol(argv[++i], &end, 10);
      if (*end != 0 || n < 0 || n > 10000000) {
        std::fprintf(stderr, "filldb: bad --friends\n");
        return 2;
      }
      options.friends = static_cast<int>(n);
    } else if (arg == "--seed" && hasValue) {
      options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--today" && hasValue) {
      if (!parseDate(argv[++i], options.today)) {
        std::fprintf(stderr, "filldb: bad --today (YYYY-MM-DD)\n");
        return 2;
      }
    } else {
      usage();
      return 2;
    }
  }
  if (appDir.empty()) {
    usage();
    return 2;
  }
  if (const auto problem = platform::HostPath::folderProblem(appDir, false, true)) {
    std::fprintf(stderr, "filldb: --app-dir: %s\n", problem->c_str());
    return 2;
  }
  // The program makes its application folder on first start; a fresh one given here is made too.
  std::error_code made;
  if (std::filesystem::create_directories(appDir, made))
    std::filesystem::permissions(appDir, std::filesystem::perms::owner_all, made);
  if (made) {
    std::fprintf(stderr, "filldb: cannot make the folder %s (%s)\n", appDir.c_str(), made.message().c_str());
    return 1;
  }
  platform::DeviceConfig::current().appDir = appDir;

  pellucard::tools::VolumeFiller::Counts counts;
  std::string error;
  if (!pellucard::tools::VolumeFiller::fill(options, counts, error)) {
    std::fprintf(stderr, "filldb: %s\n", error.c_str());
    return 1;
  }
  std::printf("%d friends (%d with a picture), %d gifts, %d loans (%d overdue), %d anniversaries\n", counts.friends,
              counts.pictures, counts.gifts, counts.loans, counts.overdueLoans, counts.anniversaries);
  return 0;
}
