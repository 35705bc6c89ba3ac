#pragma once
#include <string>
#include <vector>

#include "Core/App/Thread.h"
#include "Platform/Win32/Types.h"

namespace app {

// The platform side of the application: start-up, folders, arguments, the message pump.
class ApplicationWin32 : public Thread {
 public:
  ApplicationWin32();
  ~ApplicationWin32() override;

  // Pumps one thread message.
  VNResultEnum Update(float dt) override;

  // Init, then the run loop. A failed Init ends Run with 1 after a line on standard error (the
  // reason given to FailStart, else the log's path); a second instance says so on standard error.
  virtual VNResultEnum Run();
  // Program folder, debugger log output, user base folder. Fails (1) when the program path is
  // unreadable or when neither the application-data nor the documents folder exists.
  virtual VNResultEnum InitPlatform();
  virtual VNResultEnum Init();

  // For a start-up step that fails: logs the reason and keeps it for the line Run prints. Returns 1.
  VNResultEnum FailStart(const std::u16string& why);

  VNResultEnum GetProgramFolder(std::u16string& folder);
  // Opens "log.html" in folder as an output of the main log.
  VNResultEnum InitLogFile(const std::u16string& folder);
  // Removes at most one waiting thread message and dispatches it.
  VNResultEnum PumpMessages();

  const std::vector<std::u16string>& GetArguments() const { return mArguments; }
  void SetArguments(std::vector<std::u16string> arguments) { mArguments = std::move(arguments); }
  const std::u16string& GetProgramFolderPath() const { return mProgramFolder; }
  const std::u16string& GetUserBaseFolder() const { return mUserBaseFolder; }
  const std::u16string& GetLogFolder() const { return mLogFolder; }
  // What InitPlatform finds, for tests that start an application without it.
  void SetFolders(const std::u16string& programFolder, const std::u16string& userBaseFolder) {
    mProgramFolder = programFolder;
    mUserBaseFolder = userBaseFolder;
  }

  // Set by the window's start-up when another instance runs; also handed to the profiles, which
  // must not save at exit then.
  static bool IsSecondInstance() { return sSecondInstance; }
  static void SetSecondInstance(bool second);
  bool IsUnsupportedVideo() const { return mUnsupportedVideo; }
  void SetUnsupportedVideo(bool unsupported) { mUnsupportedVideo = unsupported; }

 protected:
  win32::HINSTANCE mModule = nullptr;

 private:
  void ReportFailedInit();

  std::u16string mUserBaseFolder;
  std::u16string mProgramFolder;
  std::u16string mLogFolder;
  std::vector<std::u16string> mArguments;
  std::u16string mStartFailure;
  bool mUnsupportedVideo = false;
  static inline bool sSecondInstance = false;
};

}  // namespace app
