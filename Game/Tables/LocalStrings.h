#pragma once
#include <map>
#include <string>

#include "Core/Base/Singletone.h"

// Every text the game shows, by key, from "ruv/strings_en.csv" (read once, on first use). A key the
// table lacks is appended to the file on disk as "key;???" so missing texts collect there.
class LocalStrings : public base::Singletone<LocalStrings> {
 public:
  static constexpr char16_t kPath[] = u"ruv/strings_en.csv";

  // Loads kPath; a file that cannot be read gives an empty table.
  LocalStrings();

  // The text of key with every backslash-n turned into a line feed. An unknown key is appended to
  // the disk file once per run and returned as its own text.
  std::u16string get(const std::u16string& key);

  // Adds or replaces the entries of one file's text (UTF-8; lines "key;text"). The key is trimmed
  // of blanks and tabs; the text loses those after the ';' but keeps those it ends with. Returns the
  // lines that hold text but no ";" (each still becomes a key with an empty text).
  int loadFromCSV(const std::string& text);

 private:
  // Appends "key;???" CR LF to the disk file, after a CR LF when its last line lacks one.
  static void appendMissingKey(const std::u16string& key);

  std::map<std::u16string, std::u16string> mTable;
};
