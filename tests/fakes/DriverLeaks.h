#pragma once
// Leak checking with the OpenGL driver loaded. Mesa keeps allocations of its contexts and compiled
// programs until it unloads its driver at exit, and by then the leak checker can no longer name
// the module they came from. Tests that make a GL context call KeepDriverLoaded once it exists:
// Mesa's modules stay mapped to the end, so tests/lsan_driver.supp (LSAN_OPTIONS, set by
// tests/CMakeLists.txt) excuses exactly those modules and every leak of ours still shows.
namespace fakes {

// Pins the loaded modules of the GL driver; cheap to call again.
void KeepDriverLoaded();

}  // namespace fakes
