#include "Platform/Win32/Handle.h"

namespace win32 {

KernelObject* FromHandle(HANDLE handle) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return nullptr;
  return static_cast<KernelObject*>(handle);
}

BOOL CloseHandle(HANDLE handle) {
  KernelObject* object = FromHandle(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const bool closed = object->Close();
  delete object;
  return closed ? TRUE : FALSE;
}

}  // namespace win32
