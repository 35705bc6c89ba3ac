#pragma once
#include <fstream>
#include <string>

namespace base {

// Where the log's entries go. Owned by the log from its attachment on.
class LogOutput {
 public:
  virtual ~LogOutput() = default;
  // Receives one whole entry (or an opening or closing text). Must not fail its caller.
  virtual void Write(const std::u16string& text) = 0;
};

// The debugger output (OutputDebugStringW).
class LogDebugOutput : public LogOutput {
 public:
  void Write(const std::u16string& text) override;
};

// A UTF-8 file, truncated when opened. Each line feed is stored as CR LF, and the file is flushed
// after every write, so it is complete after each entry. A file that cannot be created loses its
// writes silently.
class LogUtf8File : public LogOutput {
 public:
  explicit LogUtf8File(const std::u16string& path);
  void Write(const std::u16string& text) override;

 private:
  std::ofstream mStream;
};

}  // namespace base
