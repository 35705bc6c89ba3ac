// Real system threads: creation, resume, messages and log entries from a thread, stopping, the
// singleton getter under a race. Built and run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Core/App/Application.h"
#include "Core/App/Thread.h"
#include "Core/Base/LogMessage.h"
#include "Platform/Win32/Files.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/Process.h"
#include "Platform/Win32/Sync.h"
#include "fakes/FreshApplication.h"
#include "fakes/MainLogRecorder.h"

namespace {

constexpr win32::UINT kWorkerMessage = 0x8000 + 17;  // in the application's own range (WM_APP)

// Polls until the condition holds; false after a generous time (sanitizers are slow).
bool WaitUntilOnThreadTest(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    win32::Sleep(1);
  }
  return true;
}

// Posts one message to the main queue and logs on its first tick; counts its ticks and the tasks
// it was given. Reports its destruction.
class WorkerThread : public app::Thread {
 public:
  WorkerThread(bool autoDelete, bool stopWhenChildrenDone, std::atomic<bool>* deleted = nullptr)
      : Thread(autoDelete, stopWhenChildrenDone, false, false), mDeleted(deleted) {}
  ~WorkerThread() override {
    if (mDeleted) *mDeleted = true;
  }
  VNResultEnum Update(float) override {
    const int tick = ++mTicks;
    if (tick == 1) {
      win32::PostMessageW(nullptr, kWorkerMessage, 7, 0);
      base::LogPlain(u"worker tick %d\n") % tick;
    }
    return VN_OK;
  }
  std::atomic<int> mTicks{0};

 private:
  std::atomic<bool>* mDeleted;
};

class ThreadAppTest : public ::testing::Test {
 protected:
  void TearDown() override { fakes::ResetApplication(); }
};

TEST_F(ThreadAppTest, RealThreadPostsToTheMainQueueLogsAndStopsThroughTheApplication) {
  fakes::MainLogRecorder log;
  app::Application* application = app::Application::Instance();
  WorkerThread worker(false, false);
  ASSERT_TRUE(worker.Start(2));
  EXPECT_FALSE(worker.IsRunning());  // created suspended
  EXPECT_EQ(worker.mTicks, 0);
  ASSERT_TRUE(worker.Resume());
  EXPECT_FALSE(worker.Resume());

  win32::MSG message{};
  ASSERT_TRUE(WaitUntilOnThreadTest([&] {
    return win32::PeekMessageW(&message, nullptr, kWorkerMessage, kWorkerMessage, win32::PM_REMOVE) != 0;
  }));
  EXPECT_EQ(message.wParam, 7u);
  application->Update(0.0f);
  EXPECT_FALSE(application->IsStopped());  // the running thread keeps it going

  application->Stop();
  ASSERT_TRUE(WaitUntilOnThreadTest([&] { return !worker.IsRunning(); }));
  EXPECT_TRUE(worker.IsStopRequested());
  EXPECT_TRUE(worker.IsFinished());
  application->Update(0.0f);
  EXPECT_TRUE(application->IsStopped());  // the finished thread was dropped, none is left
  EXPECT_GE(worker.mTicks, 1);
  EXPECT_NE(log.Text().find(u"worker tick 1\n"), std::u16string::npos);
}

TEST_F(ThreadAppTest, ApplicationDeletesAnAutoDeletingThreadOnlyAfterItsLoopEnded) {
  std::atomic<bool> deleted{false};
  app::Application* application = app::Application::Instance();
  // Stops itself at the end of its first tick: no children.
  auto* worker = new WorkerThread(true, true, &deleted);
  ASSERT_TRUE(worker->Start(5));
  ASSERT_TRUE(worker->Resume());
  ASSERT_TRUE(WaitUntilOnThreadTest([&] {
    application->Update(0.0f);
    return deleted.load();
  }));
  EXPECT_TRUE(application->IsStopped());
  win32::MSG message{};
  while (win32::PeekMessageW(&message, nullptr, kWorkerMessage, kWorkerMessage, win32::PM_REMOVE)) {
  }
}

TEST_F(ThreadAppTest, StopBeforeResumeStopsAtOnceAndTheLoopNeverTicks) {
  app::Application* application = app::Application::Instance();
  WorkerThread worker(false, false);
  ASSERT_TRUE(worker.Start(2));
  application->Stop();
  EXPECT_TRUE(worker.IsFinished());
  application->Update(0.0f);
  EXPECT_TRUE(application->IsStopped());
  EXPECT_EQ(worker.mTicks, 0);
}

// Counts its updates; a child given to a running thread from the main thread.
class CountingChild : public base::Task {
 public:
  CountingChild() : Task(true, false, false, false) {}
  VNResultEnum Update(float) override {
    if (++mTicks == 3) Stop();
    return VN_OK;
  }
  static inline std::atomic<int> sFinished{0};
  ~CountingChild() override { ++sFinished; }

 private:
  int mTicks = 0;
};

TEST_F(ThreadAppTest, TasksAddedFromTheMainThreadRunOnTheThread) {
  CountingChild::sFinished = 0;
  WorkerThread worker(false, false);
  ASSERT_TRUE(worker.Start(2));
  ASSERT_TRUE(worker.Resume());
  for (int i = 0; i < 20; ++i) worker.AddTask(new CountingChild);
  ASSERT_TRUE(WaitUntilOnThreadTest([] { return CountingChild::sFinished.load() == 20; }));
  worker.RequestStop();
  ASSERT_TRUE(WaitUntilOnThreadTest([&] { return !worker.IsRunning(); }));
  EXPECT_TRUE(worker.IsFinished());
  app::Application::Instance()->Update(0.0f);
  win32::MSG message{};
  while (win32::PeekMessageW(&message, nullptr, kWorkerMessage, kWorkerMessage, win32::PM_REMOVE)) {
  }
}

win32::DWORD SetFlagEntry(void* parameter) {
  static_cast<std::atomic<bool>*>(parameter)->store(true);
  return 0;
}

TEST(Win32ThreadTest, CreationFailureIsReportedNotThrown) {
  std::atomic<bool> ran{false};
  // More stack than the address space holds.
  const std::size_t impossibleStack = std::size_t{1} << 48;
  win32::SetLastError(win32::ERROR_SUCCESS);
  EXPECT_EQ(win32::CreateThread(nullptr, impossibleStack, SetFlagEntry, &ran, 0, nullptr), nullptr);
  EXPECT_EQ(win32::GetLastError(), win32::ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(win32::CreateThread(nullptr, 0, nullptr, &ran, 0, nullptr), nullptr);
  EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(ran);
}

TEST(Win32ThreadTest, ClosingASuspendedThreadNeverRunsItAndClosingARunningOneWaitsForIt) {
  std::atomic<bool> suspendedRan{false};
  win32::HANDLE suspended = win32::CreateThread(nullptr, 0, SetFlagEntry, &suspendedRan, win32::CREATE_SUSPENDED, nullptr);
  ASSERT_NE(suspended, nullptr);
  EXPECT_TRUE(win32::CloseHandle(suspended));
  EXPECT_FALSE(suspendedRan);

  std::atomic<bool> resumedRan{false};
  win32::HANDLE resumed = win32::CreateThread(nullptr, 0, SetFlagEntry, &resumedRan, win32::CREATE_SUSPENDED, nullptr);
  ASSERT_NE(resumed, nullptr);
  EXPECT_EQ(win32::ResumeThread(resumed), 1u);
  EXPECT_EQ(win32::ResumeThread(resumed), 0u);
  EXPECT_TRUE(win32::CloseHandle(resumed));
  EXPECT_TRUE(resumedRan);
}

TEST(Win32ThreadTest, ThreadIdsStayUniqueWhenSeveralThreadsCreateThreads) {
  constexpr int kCreators = 4;
  constexpr int kEach = 25;
  std::vector<std::vector<win32::DWORD>> ids(kCreators);
  std::vector<std::thread> creators;
  for (int c = 0; c < kCreators; ++c) {
    creators.emplace_back([&ids, c] {
      std::atomic<bool> unused{false};
      for (int i = 0; i < kEach; ++i) {
        win32::DWORD id = 0;
        win32::HANDLE thread = win32::CreateThread(nullptr, 0, SetFlagEntry, &unused, win32::CREATE_SUSPENDED, &id);
        if (!thread) continue;
        ids[c].push_back(id);
        win32::CloseHandle(thread);
      }
    });
  }
  for (auto& creator : creators) creator.join();
  std::set<win32::DWORD> unique;
  size_t total = 0;
  for (const auto& list : ids) {
    unique.insert(list.begin(), list.end());
    total += list.size();
  }
  EXPECT_EQ(total, size_t{kCreators * kEach});
  EXPECT_EQ(unique.size(), total);
}

TEST(Win32ThreadTest, HandlesOfOtherKindsAreRefused) {
  win32::WIN32_FIND_DATAW data;
  const win32::HANDLE find = win32::FindFirstFileW(u"/*", &data);
  ASSERT_NE(find, win32::INVALID_HANDLE_VALUE);
  for (win32::HANDLE handle : {find, static_cast<win32::HANDLE>(nullptr), win32::INVALID_HANDLE_VALUE}) {
    win32::SetLastError(win32::ERROR_SUCCESS);
    EXPECT_EQ(win32::ResumeThread(handle), static_cast<win32::DWORD>(-1));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_HANDLE);
    EXPECT_FALSE(win32::SetThreadPriority(handle, win32::THREAD_PRIORITY_HIGHEST));
    EXPECT_EQ(win32::GetThreadPriority(handle), win32::THREAD_PRIORITY_ERROR_RETURN);
  }
  EXPECT_TRUE(win32::FindClose(find));
}

// Takes a while to construct, so that racing getters overlap.
class SlowSingleton : public base::Singletone<SlowSingleton> {
 public:
  SlowSingleton() {
    ++sConstructed;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  static inline std::atomic<int> sConstructed{0};
};

TEST(SingletoneThreadTest, RacingGettersBuildOneInstance) {
  SlowSingleton::sConstructed = 0;
  std::atomic<bool> go{false};
  std::vector<SlowSingleton*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i) {
    threads.emplace_back([&, i] {
      while (!go) std::this_thread::yield();
      seen[i] = SlowSingleton::Instance();
    });
  }
  go = true;
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(SlowSingleton::sConstructed, 1);
  EXPECT_NE(seen[0], nullptr);
  EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [&](SlowSingleton* s) { return s == seen[0]; }));
  delete SlowSingleton::Instance();  // nothing is left for a repeated run
}

TEST(LogThreadTest, EntriesFromSeveralThreadsStayWholeWhileOutputsAreAttached) {
  fakes::MainLogRecorder log;
  constexpr int kThreads = 4;
  constexpr int kEntries = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kEntries; ++i) base::LogPlain(u"thread %d entry %d\n") % t % i;
    });
  }
  // Another recorder attached meanwhile sees a whole suffix of the entries.
  std::unique_ptr<fakes::MainLogRecorder> late;
  std::thread attacher([&] { late = std::make_unique<fakes::MainLogRecorder>(); });
  for (auto& thread : threads) thread.join();
  attacher.join();

  const std::u16string text = log.Text();
  size_t lines = 0;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find(u'\n', start);
    ASSERT_NE(end, std::u16string::npos);
    EXPECT_EQ(text.compare(start, 7, u"thread "), 0) << std::string(text.begin() + start, text.begin() + end);
    start = end + 1;
    ++lines;
  }
  EXPECT_EQ(lines, size_t{kThreads * kEntries});
  for (int t = 0; t < kThreads; ++t) {
    const std::u16string last = u"thread " + std::u16string(1, static_cast<char16_t>(u'0' + t)) + u" entry 199\n";
    EXPECT_NE(text.find(last), std::u16string::npos);
  }
  EXPECT_LE(late->Text().size(), text.size());
}

}  // namespace
