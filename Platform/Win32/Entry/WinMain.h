#pragma once
#include "Platform/Win32/Types.h"

// The program's entry, provided by the engine; the process entry calls it after storing argv.
int WinMain(win32::HINSTANCE instance, win32::HINSTANCE previous, char* commandLine, int show);
