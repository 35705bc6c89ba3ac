#include "Core/Base/LogOutput.h"

#include "Core/Base/StringEncoding.h"
#include "Platform/Win32/Process.h"

namespace base {

void LogDebugOutput::Write(const std::u16string& text) { win32::OutputDebugStringW(text.c_str()); }

LogUtf8File::LogUtf8File(const std::u16string& path)
    : mStream(ToNarrow(path, kEncodingUtf8), std::ios::out | std::ios::trunc | std::ios::binary) {}

void LogUtf8File::Write(const std::u16string& text) {
  if (!mStream.is_open()) return;
  // Files are binary here: the text mode's CR LF is written by hand.
  const std::string bytes = ToNarrow(text, kEncodingUtf8);
  std::string stored;
  stored.reserve(bytes.size() + bytes.size() / 16);
  for (char c : bytes) {
    if (c == '\n') stored.push_back('\r');
    stored.push_back(c);
  }
  mStream.write(stored.data(), static_cast<std::streamsize>(stored.size()));
  mStream.flush();
}

}  // namespace base
