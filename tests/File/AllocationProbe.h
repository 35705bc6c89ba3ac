#pragma once
#include <cstddef>

namespace filetest {

// Records the largest single operator new between Start and Stop (this test program replaces the
// global allocation functions).
class AllocationProbe {
 public:
  AllocationProbe();
  ~AllocationProbe();
  std::size_t Largest() const;
};

}  // namespace filetest
