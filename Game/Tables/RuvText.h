#pragma once
#include <string>
#include <vector>

// The parts of text between each delimiter, empty parts kept, nothing trimmed: "a;;b" gives "a",
// "", "b"; an empty text gives one empty part. The sheets' line and field splits use it.
std::vector<std::string> splitKeepEmpty(const std::string& text, char delimiter);
