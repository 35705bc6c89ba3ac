#pragma once

namespace base {

// Base of objects that cannot be copied or assigned.
class NoCopy {
 public:
  NoCopy() = default;
  NoCopy(const NoCopy&) = delete;
  NoCopy& operator=(const NoCopy&) = delete;

 protected:
  ~NoCopy() = default;
};

}  // namespace base
