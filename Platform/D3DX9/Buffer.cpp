#include "Platform/D3DX9/Buffer.h"

namespace d3dx9 {

ULONG Buffer::Release() {
  const ULONG refs = --mRefs;
  if (refs == 0) delete this;
  return refs;
}

}  // namespace d3dx9
