#include "platform/base/FaultInjection.h"

#include <fnmatch.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace platform {

namespace {

struct ArmedPlan {
  int id;
  FaultInjection::Plan plan;
  std::uint64_t matched = 0;
  std::uint64_t struck = 0;
};

struct State {
  std::mutex mutex;
  std::vector<ArmedPlan> plans;
  int nextId = 1;
};

// Never destroyed: files may still be written from static destructors.
State& state() {
  static auto* s = new State;
  return *s;
}

std::atomic<bool> anyArmed{false};
std::atomic<bool> elideSyncs{false};

bool pathMatches(const std::string& pattern, const char* path) {
  if (pattern.empty()) return true;
  return path && ::fnmatch(pattern.c_str(), path, 0) == 0;
}

// Whether this counted operation is one the plan strikes.
bool strikes(const ArmedPlan& p) {
  const FaultInjection::Plan& plan = p.plan;
  if (plan.nth == 0 || p.matched < plan.nth) return false;
  return plan.times == 0 || p.matched - plan.nth < plan.times;
}

}  // namespace

int FaultInjection::arm(const Plan& plan) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  const int id = s.nextId++;
  s.plans.push_back({id, plan});
  anyArmed = true;
  return id;
}

void FaultInjection::disarm(int id) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  std::erase_if(s.plans, [id](const ArmedPlan& p) { return p.id == id; });
  anyArmed = !s.plans.empty();
}

void FaultInjection::disarmAll() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.plans.clear();
  anyArmed = false;
}

std::uint64_t FaultInjection::matched(int id) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  for (const ArmedPlan& p : s.plans)
    if (p.id == id) return p.matched;
  return 0;
}

std::uint64_t FaultInjection::struck(int id) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  for (const ArmedPlan& p : s.plans)
    if (p.id == id) return p.struck;
  return 0;
}

void FaultInjection::setSyncsElided(bool elided) { elideSyncs = elided; }

bool FaultInjection::syncsElided() { return elideSyncs; }

FaultInjection::Verdict FaultInjection::check(Operation operation, const char* hostPath) {
  if (!anyArmed.load(std::memory_order_relaxed)) return Verdict::Proceed;
  State& s = state();
  std::unique_lock lock(s.mutex);
  const ArmedPlan* striking = nullptr;
  for (ArmedPlan& p : s.plans) {
    if (!(p.plan.operations & operation) || !pathMatches(p.plan.pathPattern, hostPath)) continue;
    ++p.matched;
    if (!striking && strikes(p)) {
      ++p.struck;
      striking = &p;
    }
  }
  if (!striking) return Verdict::Proceed;
  const Strike strike = striking->plan.strike;
  const int error = striking->plan.error;
  lock.unlock();
  switch (strike) {
    case Strike::Fail:
      errno = error;
      return Verdict::Fail;
    case Strike::KillMidWrite:
      if (operation == kWrite) return Verdict::KillMidWrite;
      killNow();
    case Strike::Kill:
      killNow();
  }
  return Verdict::Proceed;
}

void FaultInjection::killNow() {
  ::raise(SIGKILL);
  // SIGKILL cannot be caught; should it ever return, end the process all the same.
  ::_exit(137);
}

}  // namespace platform
