#pragma once
// The sample data and the game's sources as the data tests read them: files of the repository read
// in place, the sources without comments, sheets split into fields and paths checked letter by
// letter. Nothing is written.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace datatest {

// data/ of the repository.
std::filesystem::path DataRoot();
// A repository file read whole; empty when it is missing.
std::string ReadSourceFile(const std::string& relative);
std::string ReadDataFile(const std::string& relative);

// The game's code (Game/ and Framework/), each file's text with its comments blanked out.
struct CodeFile {
  std::string path;
  std::string text;
};
const std::vector<CodeFile>& GameCode();

// A string literal of the code: its encoding prefix ("", "u", "u8"), its text (escapes left as
// they are) and where it stands, the prefix included, up to after the closing quote.
struct Literal {
  std::string prefix;
  std::string value;
  std::size_t begin = 0;
  std::size_t end = 0;
};
std::vector<Literal> Literals(const std::string& text);
// The argument texts of the calls of name (a whole identifier: "name(", "name<...>(" or, as the
// argument of make_unique, "name>("), in order.
std::vector<std::string> CallArguments(const std::string& text, const std::string& name);
// Letters, digits and "_", not starting with a digit.
bool IsIdentifier(const std::string& text);
bool IsIdentifierChar(char c);
// The first non-blank character at or after position; '\0' at the end.
char NextNonBlank(const std::string& text, std::size_t position);

// The lines of a text split into fields at separator; lines that are empty or begin with "#" are
// left out, a "\r" before the line end is dropped.
std::vector<std::vector<std::string>> SplitLines(const std::string& text, char separator);
// A sheet's rows as column -> value, by its header line.
std::vector<std::vector<std::pair<std::string, std::string>>> ReadSheet(const std::string& relative);
std::string Column(const std::vector<std::pair<std::string, std::string>>& row, const std::string& name);

// True when relative names an entry below root whose every part has exactly that spelling.
bool ExistsWithExactCase(const std::filesystem::path& root, const std::string& relative);
// True when some entry below data/ has a relative path (with "/") that begins with prefix.
bool DataEntryBeginsWith(const std::string& prefix);

// The button groups of a layout, as the screens list them for their captions.
std::set<std::string> ButtonGroups(const std::u16string& layout);

}  // namespace datatest
