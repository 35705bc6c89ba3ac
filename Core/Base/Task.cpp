#include "Core/Base/Task.h"

#include <algorithm>

#include "Core/App/CriticalSection.h"

namespace base {

Task::Task(bool autoDelete, bool stopWhenChildrenDone, bool keepParentRunning, bool createLock)
    : mStopWhenChildrenDone(stopWhenChildrenDone),
      mAutoDelete(autoDelete),
      mKeepParentRunning(keepParentRunning),
      mLock(createLock ? new app::CriticalSection : nullptr) {}

Task::~Task() { delete mLock; }

VNResultEnum Task::OnStart() { return VN_OK; }
VNResultEnum Task::Update(float) { return VN_OK; }
void Task::Stop() { SetStopped(true); }

VNResultEnum Task::UpdateTree(float dt) {
  if (IsFinished()) return VN_OK;
  if (!mStarted) {
    mStarted = true;
    if (const VNResultEnum result = OnStart()) return result;
  }
  if (const VNResultEnum result = UpdateChildren(dt)) return result;
  if (const VNResultEnum result = Update(dt)) return result;

  bool stopNow = false;
  {
    app::CriticalSectionGuard guard(mLock);
    stopNow = !mStopRequested && mPending.empty() && mStopWhenChildrenDone && !HasBlockingChild();
  }
  if (stopNow) StopTree();
  return VN_OK;
}

VNResultEnum Task::UpdateChildren(float dt) {
  // Only the merge below changes mChildren during a tick; AddTask goes to the pending list.
  for (Task* child : mChildren) {
    if (const VNResultEnum result = child->UpdateTree(dt)) return result;
  }
  {
    app::CriticalSectionGuard guard(mLock);
    mChildren.insert(mChildren.end(), mPending.begin(), mPending.end());
    mPending.clear();
  }
  auto finished = std::stable_partition(mChildren.begin(), mChildren.end(),
                                        [](const Task* child) { return !child->IsFinished(); });
  std::vector<Task*> removed(finished, mChildren.end());
  mChildren.erase(finished, mChildren.end());
  for (Task* child : removed) {
    if (child->mAutoDelete) delete child;
  }
  return VN_OK;
}

void Task::StopTree() {
  for (Task* child : mChildren) child->StopTree();
  mStopRequested.store(true, std::memory_order_release);
  Stop();
}

bool Task::AddTask(Task* child) {
  app::CriticalSectionGuard guard(mLock);
  mPending.push_back(child);
  return true;
}

void Task::DeleteChildren() {
  std::vector<Task*> doomed;
  {
    app::CriticalSectionGuard guard(mLock);
    doomed.swap(mChildren);
    // A pending task is not ours yet unless it deletes itself when done.
    for (Task* pending : mPending) {
      if (pending->mAutoDelete) doomed.push_back(pending);
    }
    mPending.clear();
  }
  for (Task* child : doomed) delete child;
}

bool Task::HasBlockingChild() const {
  return std::any_of(mChildren.begin(), mChildren.end(),
                     [](const Task* child) { return child->mKeepParentRunning; });
}

}  // namespace base
