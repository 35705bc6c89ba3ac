#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Core/Animation/AnimData.h"
#include "Core/Animation/Envelope.h"
#include "Core/Animation/LayerAnim.h"
#include "Core/Base/MemoryStream.h"
#include "Core/File/FileManager.h"
#include "Core/Layer/Layer.h"
#include "Core/Lightwave/MeshLibrary.h"
#include "Core/Resource/ResourceManager.h"
#include "fakes/GoldenImage.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/ScratchFolder.h"
#include "fakes/RecordingRender.h"

namespace {

using animation::Envelope;
using animation::EnvelopeKey;

EnvelopeKey AnimTestKey(float time, float value, std::uint32_t shape = EnvelopeKey::kLinear) {
  EnvelopeKey key;
  key.time = time;
  key.value = value;
  key.shape = shape;
  return key;
}

Envelope AnimTestEnvelope(std::vector<EnvelopeKey> keys, std::uint32_t pre = Envelope::kConstant,
                          std::uint32_t post = Envelope::kConstant) {
  Envelope envelope;
  envelope.mKeys = std::move(keys);
  envelope.mPre = pre;
  envelope.mPost = post;
  return envelope;
}

TEST(EnvelopeTest, EvaluationTable) {
  const Envelope empty;
  const Envelope single = AnimTestEnvelope({AnimTestKey(1, 7)});
  const std::vector<EnvelopeKey> ramp = {AnimTestKey(0, 0), AnimTestKey(2, 4)};
  struct Case {
    const char* name;
    Envelope envelope;
    float time;
    float expected;
  };
  const Case cases[] = {
      {"no keys", empty, 3.0f, 0.0f},
      {"one key before", single, -5.0f, 7.0f},
      {"one key after", single, 50.0f, 7.0f},
      {"linear inside", AnimTestEnvelope(ramp), 0.5f, 1.0f},
      {"at a key", AnimTestEnvelope(ramp), 2.0f, 4.0f},
      {"pre reset", AnimTestEnvelope(ramp, Envelope::kReset), -1.0f, 0.0f},
      {"post reset", AnimTestEnvelope(ramp, Envelope::kConstant, Envelope::kReset), 3.0f, 0.0f},
      {"pre constant", AnimTestEnvelope(ramp), -1.0f, 0.0f},
      {"post constant", AnimTestEnvelope(ramp), 3.0f, 4.0f},
      {"pre repeat maps -1 to 1", AnimTestEnvelope(ramp, Envelope::kRepeat), -1.0f, 2.0f},
      {"post oscillate maps 2.5 to 1.5", AnimTestEnvelope(ramp, Envelope::kConstant, Envelope::kOscillate), 2.5f,
       3.0f},
      {"post offset adds one span", AnimTestEnvelope(ramp, Envelope::kConstant, Envelope::kOffset), 2.5f, 5.0f},
      {"pre offset takes one span", AnimTestEnvelope(ramp, Envelope::kOffset), -0.5f, -1.0f},
      {"post linear continues the slope", AnimTestEnvelope(ramp, Envelope::kConstant, Envelope::kLinear), 3.0f,
       6.0f},
      {"pre linear continues the slope", AnimTestEnvelope(ramp, Envelope::kLinear), -1.0f, -2.0f},
      {"unknown behaviour keeps the time", AnimTestEnvelope(ramp, 17), -1.0f, -2.0f},
      {"stepped holds the first value",
       AnimTestEnvelope({AnimTestKey(0, 1), AnimTestKey(2, 5, EnvelopeKey::kStepped)}), 1.5f, 1.0f},
      {"unknown shape gives the offset", AnimTestEnvelope({AnimTestKey(0, 1), AnimTestKey(2, 5, 99)}), 1.0f, 0.0f},
      {"Hermite with zero tangents is smoothstep",
       AnimTestEnvelope({AnimTestKey(0, 0, EnvelopeKey::kHermite), AnimTestKey(1, 1, EnvelopeKey::kHermite)}), 0.25f,
       3 * 0.0625f - 2 * 0.015625f},
      {"within 0.0002 after a key: the interval ending at it",
       AnimTestEnvelope({AnimTestKey(0, 0), AnimTestKey(1, 10, EnvelopeKey::kStepped),
                         AnimTestKey(2, 20, EnvelopeKey::kStepped)}),
       1.0001f, 0.0f},
      {"two keys at one time", AnimTestEnvelope({AnimTestKey(1, 3), AnimTestKey(1, 9)}, 17), 0.5f, 3.0f},
      {"repeat over a zero span", AnimTestEnvelope({AnimTestKey(1, 3), AnimTestKey(1, 9)}, Envelope::kRepeat), -4.0f,
       3.0f},
      {"huge time with oscillate", AnimTestEnvelope(ramp, Envelope::kConstant, Envelope::kOscillate), 3e30f, 0.0f},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(c.expected, c.envelope.Evaluate(c.time), 1e-4) << c.name;
  }
}

// TCB with zero tension, continuity and bias between two keys and no neighbours: tangents d, so
// the Hermite blend of a straight line.
TEST(EnvelopeTest, TcbWithoutNeighboursIsStraight) {
  const Envelope envelope =
      AnimTestEnvelope({AnimTestKey(0, 0, EnvelopeKey::kTcb), AnimTestKey(4, 8, EnvelopeKey::kTcb)});
  for (float t : {0.5f, 1.0f, 2.5f, 3.9f}) EXPECT_NEAR(2.0f * t, envelope.Evaluate(t), 1e-4) << t;
}

TEST(EnvelopeTest, Bezier2EndsAndTerminates) {
  EnvelopeKey k0 = AnimTestKey(0, 0, EnvelopeKey::kBezier2);
  EnvelopeKey k1 = AnimTestKey(1, 1, EnvelopeKey::kBezier2);
  k0.p[2] = 1.0f / 3;
  k0.p[3] = 1.0f / 3;
  k1.p[0] = -1.0f / 3;
  k1.p[1] = -1.0f / 3;
  const Envelope straight = AnimTestEnvelope({k0, k1});
  EXPECT_NEAR(0.5f, straight.Evaluate(0.5f), 1e-3);
  // Control points that the curve cannot follow in time: the bisection still ends.
  k0.p[2] = 50.0f;
  k1.p[0] = -50.0f;
  const float value = AnimTestEnvelope({k0, k1}).Evaluate(0.3f);
  EXPECT_FALSE(std::isnan(value));
}

// File writer for envelopes, tracks and animations.
struct AnimTestWriter {
  std::string bytes;
  void U32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  void F32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    U32(bits);
  }
  void Str(const std::string& text) {
    U32(static_cast<std::uint32_t>(text.size()));
    bytes += text;
  }
  void Env(const Envelope& envelope) {
    U32(static_cast<std::uint32_t>(envelope.mKeys.size()));
    U32(envelope.mPre);
    U32(envelope.mPost);
    for (const EnvelopeKey& key : envelope.mKeys) {
      F32(key.value);
      F32(key.time);
      U32(key.shape);
      for (float p : key.p) F32(p);
    }
  }
  void Track(const std::string& name, const std::string& library, const std::string& mesh, std::uint32_t parent,
             bool colour, const Envelope& motion) {
    Str(name);
    Str(library);
    Str(mesh);
    U32(parent);
    U32(1);
    U32(0);
    U32(colour ? 1 : 0);
    for (int i = 0; i < (colour ? 4 : 0); ++i) Env(motion);
    for (int i = 0; i < animation::AnimTrack::kMotionCount; ++i) Env(motion);
  }
};

// Two tracks: the first with colour, the second a child of the first.
std::string SampleAnimationBytes() {
  AnimTestWriter w;
  w.Str("show");
  w.F32(0.0f);
  w.F32(2.0f);
  w.U32(2);
  const Envelope ramp = AnimTestEnvelope({AnimTestKey(0, 0), AnimTestKey(2, 1)});
  w.Track("dialog", "screen_res", "null", 0, true, ramp);
  w.Track("child", "null", "null", 1, false, AnimTestEnvelope({AnimTestKey(0, 5)}));
  return w.bytes;
}

VNResultEnum ReadAnimTestBytes(animation::AnimData& data, const std::string& bytes) {
  base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
  return data.Read(&stream);
}

TEST(AnimDataTest, FileRoundTrip) {
  animation::AnimData data;
  ASSERT_EQ(VN_OK, ReadAnimTestBytes(data, SampleAnimationBytes()));
  EXPECT_EQ("show", data.GetAnimName());
  EXPECT_FLOAT_EQ(2.0f, data.GetEndTime());
  ASSERT_EQ(2u, data.GetTracks().size());
  const animation::AnimTrack& first = *data.GetTracks()[0];
  EXPECT_EQ("dialog", first.mName);
  EXPECT_EQ("screen_res", first.mLibrary);
  EXPECT_FALSE(first.mHasParent);
  EXPECT_TRUE(first.mFlag1);
  EXPECT_FALSE(first.mFlag2);
  ASSERT_NE(nullptr, first.mColor);
  EXPECT_EQ(2u, first.mColor->mTint.mKeys.size());
  EXPECT_FLOAT_EQ(0.5f, first.mMotion[animation::AnimTrack::kScaleY].Evaluate(1.0f));
  const animation::AnimTrack& child = *data.GetTracks()[1];
  EXPECT_TRUE(child.mHasParent);
  EXPECT_EQ(0u, child.mParent);
  EXPECT_EQ(nullptr, child.mColor);
}

TEST(AnimDataTest, DamagedFilesFailAndLeaveNothing) {
  const std::string whole = SampleAnimationBytes();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    animation::AnimData data;
    EXPECT_EQ(VN_FAIL, ReadAnimTestBytes(data, whole.substr(0, size))) << size;
    EXPECT_TRUE(data.GetTracks().empty());
  }
  struct Case {
    const char* name;
    std::string bytes;
  };
  AnimTestWriter hugeTracks;
  hugeTracks.Str("a");
  hugeTracks.F32(0);
  hugeTracks.F32(1);
  hugeTracks.U32(0x20000000u);
  AnimTestWriter hugeKeys;
  hugeKeys.Str("a");
  hugeKeys.F32(0);
  hugeKeys.F32(1);
  hugeKeys.U32(1);
  hugeKeys.Str("t");
  hugeKeys.Str("null");
  hugeKeys.Str("null");
  for (int i = 0; i < 4; ++i) hugeKeys.U32(0);
  hugeKeys.U32(0x10000000u);
  hugeKeys.U32(0);
  hugeKeys.U32(0);
  hugeKeys.bytes += std::string(200, '\0');
  AnimTestWriter badParent;
  badParent.Str("a");
  badParent.F32(0);
  badParent.F32(1);
  badParent.U32(1);
  badParent.Track("t", "null", "null", 5, false, Envelope());
  const Case cases[] = {{"track count beyond the file", hugeTracks.bytes},
                        {"key count beyond the file", hugeKeys.bytes},
                        {"parent outside the tracks", badParent.bytes}};
  for (const Case& c : cases) {
    animation::AnimData data;
    EXPECT_EQ(VN_FAIL, ReadAnimTestBytes(data, c.bytes)) << c.name;
    EXPECT_TRUE(data.GetTracks().empty()) << c.name;
  }
}

TEST(LayerAnimTest, WritesTransformAlphaAndColour) {
  animation::AnimData data;
  ASSERT_EQ(VN_OK, ReadAnimTestBytes(data, SampleAnimationBytes()));
  layer::Layer layer;
  animation::LayerAnim anim(&layer, data.GetTracks()[0].get());
  layer.mTransformChanged = false;
  ASSERT_EQ(VN_OK, anim.Apply(1.0f));
  EXPECT_FLOAT_EQ(0.5f, layer.mPosition.x);
  EXPECT_FLOAT_EQ(0.5f, layer.mRotationY);  // heading
  EXPECT_FLOAT_EQ(0.5f, layer.mScaleZ);
  EXPECT_FLOAT_EQ(0.5f, layer.mAlpha);
  EXPECT_FLOAT_EQ(0.5f, layer.mColor.g);
  EXPECT_FLOAT_EQ(0.5f, layer.mTintAmount);
  EXPECT_TRUE(layer.mTransformChanged);
  EXPECT_FALSE(layer.mOuterBoxValid);
  // Nothing moved: the transform is not marked again.
  layer.mTransformChanged = false;
  layer.mOuterBoxValid = true;
  ASSERT_EQ(VN_OK, anim.Apply(1.0f));
  EXPECT_FALSE(layer.mTransformChanged);
  EXPECT_TRUE(layer.mOuterBoxValid);
}

TEST(LayerAnimTest, DissolveIsClamped) {
  const struct {
    float dissolve;
    float alpha;
  } cases[] = {{1.3f, 0.0f}, {-0.2f, 1.0f}, {0.25f, 0.75f}};
  for (const auto& c : cases) {
    animation::AnimData owner;
    animation::AnimTrack track(&owner);
    track.mMotion[animation::AnimTrack::kDissolve] = AnimTestEnvelope({AnimTestKey(0, c.dissolve)});
    layer::Layer layer;
    animation::LayerAnim(&layer, &track).Apply(0.0f);
    EXPECT_FLOAT_EQ(c.alpha, layer.mAlpha) << c.dissolve;
  }
}

// An animation file with its mesh library in a scratch data root.
class AnimDataLoadTest : public fakes::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    std::filesystem::create_directories("fx/images");
    fakes::RgbaImage image;
    image.width = 1;
    image.height = 1;
    image.pixels.assign(4, 0xFF);
    ASSERT_TRUE(fakes::WritePng("fx/images/t.png", image));
    // One mesh "m" over one triangle.
    AnimTestWriter lib;
    lib.U32(3);
    for (std::uint32_t i : {0u, 1u, 2u}) lib.U32(i);
    lib.U32(3);
    for (int i = 0; i < 15; ++i) lib.F32(static_cast<float>(i));
    lib.U32(1);
    lib.Str("m");
    lib.Str("t.png");
    for (std::uint32_t v : {0u, 3u, 0u, 3u}) lib.U32(v);
    lib.U32(2012);
    std::ofstream("fx/shapes.lib", std::ios::binary) << lib.bytes;
    ASSERT_EQ(VN_OK, mRender.Init());
  }
  void TearDown() override {
    ScratchFolderTest::TearDown();
  }
  static void WriteAnimation(const std::string& path, const std::vector<std::string>& meshes) {
    AnimTestWriter w;
    w.Str("a");
    w.F32(0);
    w.F32(1);
    w.U32(static_cast<std::uint32_t>(meshes.size()));
    for (const std::string& mesh : meshes) w.Track("t", "shapes", mesh, 0, false, Envelope());
    std::ofstream(path, std::ios::binary) << w.bytes;
  }

  fakes::RecordingRender mRender;
};

TEST_F(AnimDataLoadTest, SharedLibraryIsLoadedOnceAndBound) {
  WriteAnimation("fx/show.anim", {"m", "m"});
  {
    auto data = resource::ResourceManager::Instance()->Get<animation::AnimData>(u"fx/show.anim");
    data->SetRender(&mRender);
    ASSERT_EQ(VN_OK, data->Load());
    ASSERT_EQ(1u, data->GetLibraries().size());
    const lightwave::Mesh* mesh = data->GetTracks()[0]->mMeshData;
    ASSERT_NE(nullptr, mesh);
    EXPECT_EQ("m", mesh->mName);
    EXPECT_EQ(mesh, data->GetTracks()[1]->mMeshData);
    EXPECT_EQ(1u, resource::ResourceManager::Instance()->GetMap<lightwave::MeshLibrary>().size());
  }
  EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<animation::AnimData>().empty());
  EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<lightwave::MeshLibrary>().empty());
}

TEST_F(AnimDataLoadTest, MissingMeshOrFileFailsTheLoad) {
  WriteAnimation("fx/bad.anim", {"m", "nothere"});
  for (const char16_t* name : {u"fx/bad.anim", u"fx/absent.anim"}) {
    fakes::MainLogRecorder log;
    {
      auto data = resource::ResourceManager::Instance()->Get<animation::AnimData>(name);
      data->SetRender(&mRender);
      EXPECT_EQ(VN_FAIL, data->Load());
      EXPECT_TRUE(data->GetTracks().empty());
      EXPECT_TRUE(data->GetLibraries().empty());
    }
    EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<lightwave::MeshLibrary>().empty());
  }
}

}  // namespace
