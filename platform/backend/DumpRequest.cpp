#include "platform/backend/DumpRequest.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <utility>

#include "platform/backend/WindowDump.h"

namespace platform {

namespace {

volatile std::sig_atomic_t g_requested = 0;

extern "C" void onDumpSignal(int) { g_requested = 1; }

// Writes through a scratch name in the same folder, then renames over the old file.
template <typename Write>
bool writeWhole(const std::string& path, Write write, std::string& error) {
  const std::string scratch = path + ".part-" + std::to_string(::getpid());
  if (!write(scratch, error)) {
    std::remove(scratch.c_str());
    error = "cannot write " + path;
    return false;
  }
  if (std::rename(scratch.c_str(), path.c_str()) != 0) {
    std::remove(scratch.c_str());
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace

DumpRequest::DumpRequest(std::string path) : path_(std::move(path)) {
  g_requested = 0;
  struct sigaction action {};
  action.sa_handler = onDumpSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls resume: the request waits for the next idle moment anyway.
  action.sa_flags = SA_RESTART;
  sigaction(SIGUSR1, &action, &previous_);
}

DumpRequest::~DumpRequest() { sigaction(SIGUSR1, &previous_, nullptr); }

bool DumpRequest::pending() { return g_requested != 0; }

bool DumpRequest::serve(std::string& error) {
  if (!g_requested) return true;
  g_requested = 0;
  // The picture first: a reader that waits for the dump finds both.
  return writeWhole(path_ + ".png", writeScreenshot, error) && writeWhole(path_, writeDump, error);
}

}  // namespace platform
