#pragma once
// Mesa keeps allocations of its contexts and programs past their deletion and unloads its driver at
// exit, so the leak checker can neither name nor excuse them. Tests of the OpenGL device switch the
// checking off while a context lives.
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace fakes {

inline void IgnoreDriverLeaks(bool ignore) {
#ifdef __SANITIZE_ADDRESS__
  if (ignore) {
    __lsan_disable();
  } else {
    __lsan_enable();
  }
#else
  (void)ignore;
#endif
}

}  // namespace fakes
