#pragma once
#include <string>
#include <vector>

#include "Core/Base/Format.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogStyle.h"

namespace base {

// One output's formatter in a statement, with the wrapping its styles put around the text.
class LogFormat : public Format {
 public:
  LogFormat(const std::u16string& format, LogOutput* output) : Format(format), mOutput(output) {}

  // Copies the rest of the format and writes prefix + text + suffix to the output as one string.
  void Finish();

  LogOutput* mOutput;
  std::u16string mPrefix;
  std::u16string mSuffix;
};

// One log statement: a formatter per output of the log (HTML ones first), each with the same
// format. Styles wrap the HTML entries; arguments fill every formatter as Format's % does. The
// statement is written to every output when it is destroyed, at the end of its expression:
//   base::LogPlain(u"Max texture Width: %d\n") % width;
//   base::LogBlock(u"Trying to Load already loaded resource '%s'.\n") % name;
//   base::LogMessage(u"link loaded!", base::MainLog::Instance()) << VN_LOG_SOURCE;
// A null log (the main log during teardown) or a log without outputs writes nothing. A statement
// belongs to the thread that made it; any number of threads may make statements at once.
class LogMessage {
 public:
  LogMessage(const char16_t* format, Log* log);
  LogMessage(const std::u16string& format, Log* log);
  LogMessage(const LogMessage&) = delete;
  LogMessage& operator=(const LogMessage&) = delete;
  LogMessage(LogMessage&& other) noexcept;  // the moved-from statement writes nothing
  ~LogMessage();

  // Nests the style inside those applied before; text outputs are not touched.
  LogMessage& ApplyStyle(const LogStyle& style);
  LogMessage& operator<<(const LogStyle& style) { return ApplyStyle(style); }

  LogMessage& ArgInt(int value);
  LogMessage& ArgUnsigned(unsigned int value);
  LogMessage& ArgFloat(float value);  // precision 0 means 6, at most 7
  LogMessage& ArgString(const std::u16string& text);
  LogMessage& operator%(int value) { return ArgInt(value); }
  LogMessage& operator%(unsigned int value) { return ArgUnsigned(value); }
  LogMessage& operator%(float value) { return ArgFloat(value); }
  LogMessage& operator%(const std::u16string& text) { return ArgString(text); }

 private:
  template <class Apply>
  LogMessage& ForEach(Apply apply);

  Log* mLog = nullptr;
  std::vector<LogFormat> mHtml;
  std::vector<LogFormat> mText;
};

// A statement to the main log in the plain style.
LogMessage LogPlain(const char16_t* format);
LogMessage LogPlain(const std::u16string& format);
// A statement to the main log in the block style (warnings, compiler errors).
LogMessage LogBlock(const char16_t* format);

}  // namespace base

// A block entry headed by this source file and line, the build date and this function:
//   VN_LOG_BLOCK(u"new ruv point (%g, %g)#%d!") % x % y % id;
#define VN_LOG_BLOCK(format) (base::LogMessage((format), base::MainLog::Instance()) << VN_LOG_SOURCE)
