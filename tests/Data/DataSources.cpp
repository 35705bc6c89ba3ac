#include "tests/Data/DataSources.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"

namespace fs = std::filesystem;

namespace datatest {

bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

namespace {

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Blanks "//" and "/* */" comments outside string and character literals; line breaks stay.
std::string WithoutComments(const std::string& text) {
  std::string out = text;
  enum { kCode, kString, kChar, kLine, kBlock } state = kCode;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char c = out[i];
    const char next = i + 1 < out.size() ? out[i + 1] : '\0';
    switch (state) {
      case kCode:
        if (c == '"') state = kString;
        // A quote after a digit or letter is a digit separator or a prefix's, not a character.
        if (c == '\'' && (i == 0 || !IsIdentifierChar(out[i - 1]))) state = kChar;
        if (c == '/' && next == '/') state = kLine;
        if (c == '/' && next == '*') state = kBlock;
        break;
      case kString:
      case kChar:
        if (c == '\\') {
          ++i;
        } else if (c == (state == kString ? '"' : '\'')) {
          state = kCode;
        }
        break;
      case kLine:
        if (c == '\n') state = kCode;
        break;
      case kBlock:
        if (c == '*' && next == '/') {
          out[i] = out[i + 1] = ' ';
          ++i;
          state = kCode;
          continue;
        }
        break;
    }
    if ((state == kLine || state == kBlock) && c != '\n') out[i] = ' ';
  }
  return out;
}

std::string Trimmed(std::string text) {
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

}  // namespace

fs::path DataRoot() { return fs::path(QM_SOURCE_DIR) / "data"; }

std::string ReadSourceFile(const std::string& relative) { return ReadWhole(fs::path(QM_SOURCE_DIR) / relative); }

std::string ReadDataFile(const std::string& relative) { return ReadWhole(DataRoot() / relative); }

const std::vector<CodeFile>& GameCode() {
  static const std::vector<CodeFile> files = [] {
    std::vector<CodeFile> code;
    for (const char* folder : {"Game", "Framework"}) {
      for (const auto& entry : fs::recursive_directory_iterator(fs::path(QM_SOURCE_DIR) / folder)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        code.push_back({fs::relative(entry.path(), QM_SOURCE_DIR).generic_string(), WithoutComments(ReadWhole(entry.path()))});
      }
    }
    return code;
  }();
  return files;
}

std::vector<Literal> Literals(const std::string& text) {
  std::vector<Literal> literals;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\'' && (i == 0 || !IsIdentifierChar(text[i - 1]))) {
      // A character literal: skipped, so that '"' opens nothing.
      for (++i; i < text.size() && text[i] != '\''; ++i) {
        if (text[i] == '\\') ++i;
      }
      continue;
    }
    if (text[i] != '"') continue;
    Literal literal;
    literal.begin = i;
    for (const char* prefix : {"u8", "u", "U", "L"}) {
      const std::size_t length = std::char_traits<char>::length(prefix);
      if (i >= length && text.compare(i - length, length, prefix) == 0 &&
          (i == length || !IsIdentifierChar(text[i - length - 1]))) {
        literal.prefix = prefix;
        literal.begin = i - length;
        break;
      }
    }
    std::size_t k = i + 1;
    for (; k < text.size() && text[k] != '"'; ++k) {
      if (text[k] == '\\') ++k;
    }
    literal.value = text.substr(i + 1, k - i - 1);
    literal.end = k + 1;
    literals.push_back(literal);
    i = k;
  }
  return literals;
}

std::vector<std::string> CallArguments(const std::string& text, const std::string& name) {
  std::vector<std::string> calls;
  for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
    if ((at > 0 && IsIdentifierChar(text[at - 1])) ||
        (at + name.size() < text.size() && IsIdentifierChar(text[at + name.size()]))) {
      continue;
    }
    std::size_t open = at + name.size();
    // "name<...>(" calls a template; "<name>(" (make_unique's argument) builds a name.
    if (open < text.size() && text[open] == '<') open = text.find('>', open) + 1;
    if (open < text.size() && text[open] == '>') ++open;
    while (open < text.size() && std::isspace(static_cast<unsigned char>(text[open]))) ++open;
    if (open >= text.size() || text[open] != '(') continue;
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
      if (text[i] == '(') ++depth;
      if (text[i] == ')' && --depth == 0) {
        calls.push_back(text.substr(open + 1, i - open - 1));
        break;
      }
      if (text[i] == ';') break;
    }
  }
  return calls;
}

bool IsIdentifier(const std::string& text) {
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0]))) return false;
  for (char c : text) {
    if (!IsIdentifierChar(c)) return false;
  }
  return true;
}

char NextNonBlank(const std::string& text, std::size_t position) {
  while (position < text.size() && std::isspace(static_cast<unsigned char>(text[position]))) ++position;
  return position < text.size() ? text[position] : '\0';
}

std::vector<std::vector<std::string>> SplitLines(const std::string& text, char separator) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    line = Trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, separator);) fields.push_back(field);
    if (!line.empty() && line.back() == separator) fields.emplace_back();
    lines.push_back(fields);
  }
  return lines;
}

std::vector<std::vector<std::pair<std::string, std::string>>> ReadSheet(const std::string& relative) {
  const std::vector<std::vector<std::string>> lines = SplitLines(ReadDataFile(relative), ';');
  std::vector<std::vector<std::pair<std::string, std::string>>> rows;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::pair<std::string, std::string>> row;
    for (std::size_t k = 0; k < lines[0].size() && k < lines[i].size(); ++k) row.emplace_back(lines[0][k], lines[i][k]);
    rows.push_back(row);
  }
  return rows;
}

std::string Column(const std::vector<std::pair<std::string, std::string>>& row, const std::string& name) {
  for (const auto& [column, value] : row) {
    if (column == name) return value;
  }
  return {};
}

bool ExistsWithExactCase(const fs::path& root, const std::string& relative) {
  fs::path folder = root;
  for (const fs::path& part : fs::path(relative)) {
    if (part.empty() || part == ".") continue;
    std::error_code error;
    bool found = false;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (entry.path().filename() == part) {
        found = true;
        break;
      }
    }
    if (error || !found) return false;
    folder /= part;
  }
  return true;
}

bool DataEntryBeginsWith(const std::string& prefix) {
  static const std::vector<std::string> entries = [] {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(DataRoot())) {
      names.push_back(fs::relative(entry.path(), DataRoot()).generic_string() + (entry.is_directory() ? "/" : ""));
    }
    return names;
  }();
  for (const std::string& entry : entries) {
    if (entry.compare(0, prefix.size(), prefix) == 0) return true;
  }
  return false;
}

std::set<std::string> ButtonGroups(const std::u16string& layout) {
  std::set<std::string> groups;
  std::unique_ptr<file::ImageContainer> container(file::FileManager::Instance()->OpenImageContainer(layout));
  if (!container) return groups;
  std::vector<std::u16string> names;
  container->ListFolders(u"button", names, true);
  for (const std::u16string& name : names) groups.insert(std::string(name.begin(), name.end()));
  return groups;
}

}  // namespace datatest
