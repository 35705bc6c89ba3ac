// The temporary-folder fixture of the file tests, shared with the game's tests.
#include "../File/FileTestSupport.cpp"
