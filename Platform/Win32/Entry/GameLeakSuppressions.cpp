// Leak suppressions built into the game under the sanitizers (not into the test programs). SDL's
// X11 back end opens the message bus through libdbus, which keeps a kilobyte of its own to the end
// of the process; only allocations made inside libdbus are excused, so a leak of ours still fails
// the run.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
