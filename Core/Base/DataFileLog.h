#pragma once
#include <string>

namespace tinyxml2 {
class XMLDocument;
}

namespace base {

// One block-style log line for a data file that a reader could not use, or used only in part:
// "<reader>: data file '<path>' <problem>". Every reader of the data root says what it skipped
// this way, so the log names the file whatever went wrong.
void LogDataFileProblem(const char16_t* reader, const std::u16string& path, const std::u16string& problem);

// Parses text (read from path) into document. On failure logs the path with the XML library's cause
// and line ("missing or empty" for an empty text) and returns false.
bool ParseDataXml(const char16_t* reader, const std::u16string& path, const std::string& text,
                  tinyxml2::XMLDocument& document);

}  // namespace base
