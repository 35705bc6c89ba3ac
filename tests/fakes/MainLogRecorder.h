#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Log.h"

namespace fakes {

// Attaches a text output (or an HTML one, which shows the entries' styles and source headers) to
// the main log for its lifetime and keeps what was written meanwhile.
class MainLogRecorder {
 public:
  enum Kind { kText, kHtml };
  explicit MainLogRecorder(Kind kind = kText);
  ~MainLogRecorder();
  // Everything written since construction, concatenated.
  std::u16string Text() const;

 private:
  std::shared_ptr<std::vector<std::u16string>> mWrites;
};

}  // namespace fakes
