#include "Core/Base/DataFileLog.h"

#include <tinyxml2.h>

#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"

namespace base {

void LogDataFileProblem(const char16_t* reader, const std::u16string& path, const std::u16string& problem) {
  LogBlock(u"%s: data file '%s' %s.\n") % std::u16string(reader) % path % problem;
}

bool ParseDataXml(const char16_t* reader, const std::u16string& path, const std::string& text,
                  tinyxml2::XMLDocument& document) {
  if (document.Parse(text.c_str(), text.size()) == tinyxml2::XML_SUCCESS) return true;
  if (text.empty()) {
    LogDataFileProblem(reader, path, u"is missing or empty");
  } else {
    LogDataFileProblem(reader, path,
                       u"does not parse (line " + ToWide(std::to_string(document.ErrorLineNum()), kEncodingUtf8) +
                           u": " + ToWide(document.ErrorName(), kEncodingUtf8) + u")");
  }
  return false;
}

}  // namespace base
