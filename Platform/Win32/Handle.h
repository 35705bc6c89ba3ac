#pragma once
// Kernel objects behind HANDLE values: threads, files and folder searches share CloseHandle.
#include <cstdint>

#include "Platform/Win32/Types.h"

namespace win32 {

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

// Base of every object a HANDLE points to. A HANDLE is always the KernelObject* of its object.
class KernelObject {
 public:
  virtual ~KernelObject() = default;
  // Releases what the object holds; false (with the last error set) when that fails. The object
  // is deleted afterwards either way.
  virtual bool Close() { return true; }
};

inline HANDLE ToHandle(KernelObject* object) { return object; }
// The object behind a handle, or null for the null and the invalid handle.
KernelObject* FromHandle(HANDLE handle);

// Closes and deletes the object; FALSE (ERROR_INVALID_HANDLE) for the null and the invalid handle.
BOOL CloseHandle(HANDLE handle);

}  // namespace win32
