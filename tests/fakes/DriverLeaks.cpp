#include "fakes/DriverLeaks.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace fakes {

void IgnoreDriverLeaks(bool ignore) {
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
