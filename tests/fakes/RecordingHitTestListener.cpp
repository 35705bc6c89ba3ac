#include "fakes/RecordingHitTestListener.h"

namespace fakes {

VNResultEnum RecordingHitTestListener::Record(const char* operation, const math::Point3& point, int data) {
  mCalls.push_back(Call{operation, mHitLayer, mLayer, point, mHandledBelow, data});
  if (mJournal) mJournal->push_back(mName + "." + operation);
  if (mAnswer >= 0 && (!mAnswerOnce || mCalls.size() == 1)) mResult = mAnswer;
  return mReturn;
}

}  // namespace fakes
