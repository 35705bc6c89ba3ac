// The file tests' temporary-folder fixture, built into this program too.
#include "File/FileTestSupport.cpp"
