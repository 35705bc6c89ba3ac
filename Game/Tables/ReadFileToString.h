#pragma once
#include <string>

// The whole content of a file opened through the file manager, up to its first zero byte, a
// byte-order mark included. Empty when the file cannot be opened or read completely.
std::string readFileToString(const std::u16string& path);
