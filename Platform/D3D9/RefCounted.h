#pragma once
// The shared reference count of every object of the layer (and of its recording twin in tests).
#include "Platform/D3D9/D3D9.h"

namespace d3d9 {

template <class Interface>
class RefCounted : public Interface {
 public:
  ULONG AddRef() override { return ++mRefs; }
  ULONG Release() override {
    const ULONG left = --mRefs;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG mRefs = 1;
};

}  // namespace d3d9
