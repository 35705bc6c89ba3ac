#include "Core/Base/LogStyle.h"

#include "Core/Base/Format.h"
#include "Core/Base/StringEncoding.h"

namespace base {

namespace {

constexpr char16_t kDivEnd[] = u"</div>";

// Source names may hold "<" and "&" (templates, operators).
std::u16string EscapeHtml(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    switch (c) {
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'&':
        out += u"&amp;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace

LogStyle::LogStyle(const std::u16string& className)
    : mPrefix(u"<div class=\"" + className + u"\">"), mSuffix(kDivEnd) {}

LogStyle::LogStyle(std::u16string prefix, std::u16string suffix)
    : mPrefix(std::move(prefix)), mSuffix(std::move(suffix)) {}

LogStyle LogStyle::Source(const char* file, int line, const char* date, const char* function) {
  const std::u16string head = (MakeFormat(u"%s(%d): %s %s") % ToWide(file ? file : "", kEncodingUtf8) % line %
                               ToWide(date ? date : "", kEncodingUtf8) % ToWide(function ? function : "", kEncodingUtf8))
                                  .GetResult();
  return LogStyle(Block.GetPrefix() + u"<div class=\"blockhead\">" + EscapeHtml(head) + kDivEnd, kDivEnd);
}

}  // namespace base
