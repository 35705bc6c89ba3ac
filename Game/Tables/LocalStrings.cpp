#include "Game/Tables/LocalStrings.h"

#include <algorithm>

#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/TextFile.h"
#include "Core/Base/Tokenizer.h"
#include "Core/File/FileHandleWin32.h"

LocalStrings::LocalStrings() {
  const int malformed = loadFromCSV(base::ReadTextFile(kPath));
  if (mTable.empty()) {
    base::LogBlock(u"LocalStrings: '%s' holds no strings (missing, empty or damaged); keys are shown instead.\n") %
        std::u16string(kPath);
  } else if (malformed > 0) {
    base::LogBlock(u"LocalStrings: '%s' has %d lines without a ';' between key and text.\n") % std::u16string(kPath) %
        malformed;
  }
}

int LocalStrings::loadFromCSV(const std::string& text) {
  int malformed = 0;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(begin, end - begin);
    begin = end + 1;
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    const std::size_t separator = line.find(';');
    if (separator == std::string::npos) ++malformed;
    std::string key = line.substr(0, separator);
    base::Tokenizer::Trim(key);
    // The text keeps the blanks it ends with ("Welcome, " is followed by a name); only the blanks
    // after the ';' and a CR of a CR LF line end are dropped.
    std::string value;
    if (separator != std::string::npos) {
      const std::size_t next = line.find(';', separator + 1);
      value = line.substr(separator + 1, next == std::string::npos ? std::string::npos : next - separator - 1);
      value.erase(0, std::min(value.size(), value.find_first_not_of(" \t")));
    }
    if (!value.empty() && value.back() == '\r') value.pop_back();
    mTable[base::ToWide(key, base::kEncodingUtf8)] = base::ToWide(value, base::kEncodingUtf8);
  }
  return malformed;
}

void LocalStrings::appendMissingKey(const std::u16string& key) {
  file::FileHandleWin32 handle;
  if (handle.Open(kPath, file::FileHandleWin32::kReadWrite, file::FileHandleWin32::kOpenExisting) != VN_OK) return;
  unsigned count = 0;
  // A file whose last line has no line break would glue the key to its last text.
  if (handle.GetSize() > 0) {
    char last = 0;
    handle.Seek(-1, 2);
    if (handle.Read(&last, 1, &count) == VN_OK && count == 1 && last != '\n') {
      handle.Seek(0, 2);
      handle.Write("\r\n", 2, &count);
    }
  }
  handle.Seek(0, 2);
  const std::string narrow = base::ToNarrow(key, base::kEncodingUtf8);
  handle.Write(narrow.data(), static_cast<unsigned>(narrow.size()), &count);
  handle.Write(";???\r\n", 6, &count);
  handle.Close();
}

std::u16string LocalStrings::get(const std::u16string& key) {
  auto found = mTable.find(key);
  if (found == mTable.end()) {
    appendMissingKey(key);
    found = mTable.emplace(key, key).first;
  }
  const std::u16string& text = found->second;
  if (text.size() <= 1 || text.find(u'\\') == std::u16string::npos) return text;
  std::u16string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == u'n') {
      result.push_back(u'\n');
      ++i;
    } else {
      result.push_back(text[i]);
    }
  }
  return result;
}
