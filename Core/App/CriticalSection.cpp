#include "Core/App/CriticalSection.h"

namespace app {

namespace {
// Constructed before the program's entry runs, alive until process exit.
CriticalSection sGlobalSection;
}  // namespace

CriticalSection& GlobalCriticalSection() { return sGlobalSection; }

}  // namespace app
