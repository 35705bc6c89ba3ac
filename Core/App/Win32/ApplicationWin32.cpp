#include "Core/App/Win32/ApplicationWin32.h"

#include <cstdio>
#include <memory>

#include "Core/App/Application.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/Profiles.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/Process.h"

namespace app {

namespace {

constexpr char16_t kUnsupportedVideoText[] =
    u"Failed to init DirectX 9 render: video card does'n support vertex shaders 1.1 and(or) pixel shaders 2.0";

void ReportStartFailure(const char* why) { std::fprintf(stderr, "quellmark2: cannot start: %s\n", why); }

}  // namespace

ApplicationWin32::ApplicationWin32() : Thread(false, true, true, true) {}

ApplicationWin32::~ApplicationWin32() {
  if (mUnsupportedVideo) win32::MessageBoxW(nullptr, kUnsupportedVideoText, u"Error", win32::MB_ICONERROR);
}

VNResultEnum ApplicationWin32::Update(float) { return PumpMessages(); }

void ApplicationWin32::SetSecondInstance(bool second) {
  sSecondInstance = second;
  file::Profiles::SetSecondInstance(second);
}

VNResultEnum ApplicationWin32::Run() {
  if (Application::Instance()->Init() != VN_OK) {
    ReportFailedInit();
    return VN_FAIL;
  }
  if (IsSecondInstance()) {
    std::fprintf(stderr, "quellmark2: already running; brought its window to the front\n");
  } else {
    base::LogPlain(u"Started\n");
  }
  if (IsStopRequested()) return VN_OK;
  return RunLoop();
}

VNResultEnum ApplicationWin32::FailStart(const std::u16string& why) {
  mStartFailure = why;
  base::LogBlock(u"Cannot start: %s\n") % why;
  return VN_FAIL;
}

void ApplicationWin32::ReportFailedInit() {
  std::u16string why = mStartFailure;
  if (why.empty()) {
    // The failing step wrote its own log entry; point there.
    why = u"a step of the start-up failed, the log names it: " + mLogFolder + u"log.html";
    base::LogBlock(u"Cannot start: a step of the start-up failed (see above)\n");
  }
  ReportStartFailure(base::ToNarrow(why, base::kEncodingUtf8).c_str());
}

VNResultEnum ApplicationWin32::InitPlatform() {
  mModule = win32::GetModuleHandleW(nullptr);
  if (GetProgramFolder(mProgramFolder)) {
    ReportStartFailure("the program's own path cannot be read");
    return VN_FAIL;
  }
  base::MainLog::Instance()->AddTextOutput(std::make_unique<base::LogDebugOutput>());

  char16_t path[win32::MAX_PATH] = {};
  win32::SetLastError(win32::ERROR_SUCCESS);
  win32::HRESULT hr = win32::SHGetFolderPathW(nullptr, win32::CSIDL_APPDATA, nullptr, 0, path);
  if (hr == win32::E_FAIL) hr = win32::SHGetFolderPathW(nullptr, win32::CSIDL_PERSONAL, nullptr, 0, path);
  if (win32::FAILED(hr)) {
    ReportStartFailure("no folder for user data (set HOME or XDG_DATA_HOME)");
    return VN_FAIL;
  }
  mUserBaseFolder = base::NormalizeDirPath(path);
  return VN_OK;
}

VNResultEnum ApplicationWin32::Init() { return VN_OK; }

VNResultEnum ApplicationWin32::InitLogFile(const std::u16string& folder) {
  mLogFolder = folder;
  const std::u16string path = folder + u"log.html";
  // Reaches the outputs attached so far (the debugger), not the file about to be attached.
  base::LogPlain(u"%s(0): Html log file\n") % path;
  base::MainLog::Instance()->AddHtmlOutput(std::make_unique<base::LogUtf8File>(path));
  return VN_OK;
}

VNResultEnum ApplicationWin32::GetProgramFolder(std::u16string& folder) {
  char16_t path[win32::MAX_PATH] = {};
  win32::SetLastError(win32::ERROR_SUCCESS);
  win32::GetModuleFileNameW(win32::GetModuleHandleW(nullptr), path, win32::MAX_PATH);
  if (win32::GetLastError() != win32::ERROR_SUCCESS) return VN_FAIL;
  folder = base::GetDirPath(path);
  return VN_OK;
}

VNResultEnum ApplicationWin32::PumpMessages() {
  win32::MSG message{};
  if (win32::PeekMessageW(&message, nullptr, 0, 0, win32::PM_REMOVE)) {
    win32::TranslateMessage(&message);
    win32::DispatchMessageW(&message);
  }
  return VN_OK;
}

}  // namespace app
