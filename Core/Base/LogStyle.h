#pragma once
#include <string>

namespace base {

// The HTML wrapping of a log entry: a prefix and a suffix. Text outputs never see it.
class LogStyle {
 public:
  // "<div class=\"" + className + "\">" ... "</div>".
  explicit LogStyle(const std::u16string& className);
  LogStyle(std::u16string prefix, std::u16string suffix);

  // A block entry headed by where it was written: a "block" div whose first child is a
  // "blockhead" div with "file(line): date function". Use VN_LOG_SOURCE rather than calling it.
  static LogStyle Source(const char* file, int line, const char* date, const char* function);

  const std::u16string& GetPrefix() const { return mPrefix; }
  const std::u16string& GetSuffix() const { return mSuffix; }

  static const LogStyle Plain;  // class ""
  static const LogStyle Block;  // class "block"

 private:
  std::u16string mPrefix;
  std::u16string mSuffix;
};

inline const LogStyle LogStyle::Plain{u""};
inline const LogStyle LogStyle::Block{u"block"};

}  // namespace base

// The block writer's style for the statement at the place of use.
#define VN_LOG_SOURCE base::LogStyle::Source(__FILE__, __LINE__, __DATE__, __func__)
