#include "fakes/DriverLeaks.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace fakes {

namespace {

// The modules named in tests/lsan_driver.supp.
constexpr const char* kDriverModules[] = {"/dri/",         "libgallium",  "libLLVM",
                                          "libEGL_mesa",   "libGLX_mesa", "libglapi"};

int PinDriverModule(dl_phdr_info* info, size_t, void*) {
  const char* path = info->dlpi_name;
  if (!path || !*path) return 0;
  for (const char* module : kDriverModules) {
    // A second reference that is never dropped, and no unloading at exit.
    if (std::strstr(path, module)) dlopen(path, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
  return 0;
}

}  // namespace

void KeepDriverLoaded() { dl_iterate_phdr(PinDriverModule, nullptr); }

}  // namespace fakes
