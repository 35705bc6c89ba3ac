#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/Animation/Envelope.h"
#include "Core/Lightwave/MeshLibrary.h"
#include "Core/Resource/Resource.h"
#include "Core/Resource/ResourcePtr.h"

namespace render {
class Render;
}
namespace animation {

class AnimData;

// Red, green, blue and tint amount.
struct ColorEnvelopes {
  Envelope mRed;
  Envelope mGreen;
  Envelope mBlue;
  Envelope mTint;
};

// One animated object: ten motion envelopes, optional colour envelopes, optionally a library mesh.
class AnimTrack {
 public:
  enum Motion { kPositionX, kPositionY, kPositionZ, kHeading, kPitch, kBank, kScaleX, kScaleY, kScaleZ, kDissolve };
  static constexpr int kMotionCount = 10;

  explicit AnimTrack(AnimData* owner) : mOwner(owner) {}

  // 1 on a short read of any field.
  VNResultEnum Read(base::Stream* stream);

  AnimData* mOwner;
  std::string mName;
  std::string mLibrary;
  std::string mMesh;
  bool mHasParent = false;
  std::uint32_t mParent = 0;  // index of the parent track when mHasParent
  bool mFlag1 = false;
  bool mFlag2 = false;
  std::unique_ptr<ColorEnvelopes> mColor;  // null without colour
  Envelope mMotion[kMotionCount];
  const lightwave::Mesh* mMeshData = nullptr;
};

// A key-frame animation file: a name, a start and end time and tracks.
class AnimData : public resource::Resource {
 public:
  ~AnimData() override;

  VNResultEnum Release() override;
  // Reads the file and loads and binds the mesh libraries its tracks name (from the file's folder,
  // "<library>.lib"). A failure leaves the animation empty.
  VNResultEnum DoLoad() override;
  // Deletes the tracks and drops the libraries. Returns 0.
  VNResultEnum DoUnLoad() override;

  // 1 on a short read, a count beyond the bytes left or a parent index outside the tracks; the
  // animation is then empty.
  VNResultEnum Read(base::Stream* stream);

  // Handed to the mesh libraries it loads; set by the owner before Load.
  void SetRender(render::Render* render) { mRender = render; }

  const std::string& GetAnimName() const { return mAnimName; }
  float GetStartTime() const { return mStartTime; }
  float GetEndTime() const { return mEndTime; }
  const std::vector<std::unique_ptr<AnimTrack>>& GetTracks() const { return mTracks; }
  const std::map<std::string, resource::ResourcePtr<lightwave::MeshLibrary>>& GetLibraries() const {
    return mLibraries;
  }

 private:
  void Clear();
  VNResultEnum BindMeshes();

  render::Render* mRender = nullptr;
  std::string mAnimName;
  float mStartTime = 0.0f;
  float mEndTime = 0.0f;
  std::vector<std::unique_ptr<AnimTrack>> mTracks;
  std::map<std::string, resource::ResourcePtr<lightwave::MeshLibrary>> mLibraries;
};

}  // namespace animation
