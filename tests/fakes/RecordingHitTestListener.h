#pragma once
// A hit-test listener that records every delivery and answers with a scripted result code.
#include <string>
#include <vector>

#include "Core/Layer/HitTest.h"

namespace fakes {

class RecordingHitTestListener : public layer::HitTestListener {
 public:
  struct Call {
    std::string mOperation;  // "Down", "ChildDown", "Move", ...
    layer::Layer* mHitLayer;
    layer::Layer* mLayer;
    math::Point3 mPoint;
    bool mHandledBelow;
    int mData;  // button or wheel delta, 0 for moves
  };

  // journal (optional) receives "name.Operation" from every listener that shares it.
  explicit RecordingHitTestListener(std::string name = "", std::vector<std::string>* journal = nullptr)
      : mName(std::move(name)), mJournal(journal) {}

  VNResultEnum OnMouseDown(math::Point3& point, int button) override { return Record("Down", point, button); }
  VNResultEnum OnMouseUp(math::Point3& point, int button) override { return Record("Up", point, button); }
  VNResultEnum OnMouseMove(math::Point3& point) override { return Record("Move", point, 0); }
  VNResultEnum OnMouseDrag(math::Point3& point) override { return Record("Drag", point, 0); }
  VNResultEnum OnMouseWheel(math::Point3& point, int delta) override { return Record("Wheel", point, delta); }
  VNResultEnum OnChildMouseDown(math::Point3& point, int button) override { return Record("ChildDown", point, button); }
  VNResultEnum OnChildMouseUp(math::Point3& point, int button) override { return Record("ChildUp", point, button); }
  VNResultEnum OnChildMouseMove(math::Point3& point) override { return Record("ChildMove", point, 0); }
  VNResultEnum OnChildMouseDrag(math::Point3& point) override { return Record("ChildDrag", point, 0); }
  VNResultEnum OnChildMouseWheel(math::Point3& point, int delta) override { return Record("ChildWheel", point, delta); }

  std::string mName;
  std::vector<std::string>* mJournal;
  std::vector<Call> mCalls;
  int mAnswer = -1;  // written into the result field when 0, 1 or 2
  // Answers only the first call with mAnswer; later calls leave the result alone.
  bool mAnswerOnce = false;
  VNResultEnum mReturn = VN_OK;  // returned by every call

 private:
  VNResultEnum Record(const char* operation, const math::Point3& point, int data);
};

}  // namespace fakes
