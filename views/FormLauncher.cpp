#include "views/FormLauncher.h"

namespace pellucard {

namespace {
FormLauncher* g_launcher = nullptr;
}  // namespace

void setFormLauncher(FormLauncher* launcher) { g_launcher = launcher; }

FormLauncher* formLauncher() { return g_launcher; }

}  // namespace pellucard
