// The process entry: hands the arguments to the platform layer and runs the engine's WinMain.
#include <malloc.h>

#include "Platform/Win32/Entry/WinMain.h"
#include "Platform/Win32/Process.h"

int main(int argc, char** argv) {
  // glibc would hand freed frame memory back to the kernel after every frame; keep it.
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
  win32::SetCommandLine(argc, argv);
  return WinMain(win32::GetModuleHandleW(nullptr), nullptr, nullptr, 0);
}
