#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Log.h"

namespace fakes {

// Attaches a text output to the main log for its lifetime and keeps what was written meanwhile.
class MainLogRecorder {
 public:
  MainLogRecorder();
  ~MainLogRecorder();
  // Everything written since construction, concatenated.
  std::u16string Text() const;

 private:
  std::shared_ptr<std::vector<std::u16string>> mWrites;
};

}  // namespace fakes
