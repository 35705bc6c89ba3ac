#pragma once
#include <string>

namespace base {
class Stream;
class StreamCreator;
}  // namespace base

namespace file {

class FileInfo;

// Anything that finds files by name and opens them as streams. Every object it returns belongs to
// the caller.
//
// Extension lists are arrays of count wide strings in order of preference; an empty string stands
// for the name itself, and the index of the first candidate that exists is reported.
class Container {
 public:
  virtual ~Container() = default;
  // Null when no candidate exists.
  virtual FileInfo* Open(const std::u16string& name, const char16_t* const* extensions, unsigned count,
                         unsigned* index) = 0;
  // Null when the file cannot be opened.
  virtual base::Stream* OpenStream(const std::u16string& path) = 0;
  virtual base::StreamCreator* GetStreamCreator(const std::u16string& path) = 0;
  // The folder that names in this container are relative to ("" or ending in '/').
  virtual std::u16string GetPath() = 0;
};

}  // namespace file
