#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Core/Base/LogOutput.h"
#include "Core/Base/NoCopy.h"
#include "Core/Base/Singletone.h"

namespace base {

// Two lists of outputs in the order of attachment: HTML outputs receive each entry wrapped in its
// styles' div elements, text outputs the bare entry. Entries are written through LogMessage.
// Any thread may log and attach outputs: the log's lock is held while an entry goes to its outputs,
// so entries never interleave and an output's Write is never called on two threads at once.
// Destroying the log writes the closing texts and deletes the outputs.
class Log : public NoCopy {
 public:
  Log() = default;
  ~Log();

  // Takes the output and writes the HTML header to it.
  void AddHtmlOutput(std::unique_ptr<LogOutput> output);
  // Takes the output and writes "log initialized\n" to it.
  void AddTextOutput(std::unique_ptr<LogOutput> output);

  // The lists as they are; hold the lock to read them while other threads may attach outputs.
  const std::vector<std::unique_ptr<LogOutput>>& GetHtmlOutputs() const { return mHtmlOutputs; }
  const std::vector<std::unique_ptr<LogOutput>>& GetTextOutputs() const { return mTextOutputs; }
  // Recursive: an output may log while it writes.
  std::recursive_mutex& GetLock() { return mLock; }

 private:
  std::recursive_mutex mLock;
  std::vector<std::unique_ptr<LogOutput>> mHtmlOutputs;
  std::vector<std::unique_ptr<LogOutput>> mTextOutputs;
};

// The engine's log: created on first use, destroyed by the singleton registry at exit.
// Null during teardown, like every singleton getter; LogMessage accepts that.
class MainLog : public Singletone<MainLog>, public Log {};

}  // namespace base
