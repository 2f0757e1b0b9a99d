#include "app/AppModule.h"

namespace pellucard {

namespace {

struct ModuleState {
  HINSTANCE instance = nullptr;
  platform::MessageLoop* loop = nullptr;
};

ModuleState& state() {
  static ModuleState s;
  return s;
}

}  // namespace

void AppModule::init(HINSTANCE instance) { state().instance = instance; }

void AppModule::term() { state() = ModuleState{}; }

HINSTANCE AppModule::instance() { return state().instance; }

void AppModule::addMessageLoop(platform::MessageLoop* loop) { state().loop = loop; }

void AppModule::removeMessageLoop() { state().loop = nullptr; }

platform::MessageLoop* AppModule::messageLoop() { return state().loop; }

}  // namespace pellucard
