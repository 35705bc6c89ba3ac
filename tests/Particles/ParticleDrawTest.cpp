// Particle lists drawn through the drawing context on the recording renderer, from a scripted
// particle library: blend modes, colours, one indexed draw per list, skipped atlases, failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/Math/Box3.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "tests/Graphics/DrawFrame.h"
#include "tests/fakes/ScriptedMagic.h"

namespace {

using render::SVertex2D;

magic::ParticleVertexes ScriptedQuad(float x, float y, float size, uint32_t argb) {
  magic::ParticleVertexes p;
  p.corners[0] = {x, y, 0.0f, 0.0f};
  p.corners[1] = {x + size, y, 1.0f, 0.0f};
  p.corners[2] = {x + size, y + size, 1.0f, 1.0f};
  p.corners[3] = {x, y + size, 0.0f, 1.0f};
  p.color = argb;
  return p;
}

fakes::ScriptedMagic::List ScriptedList(uint32_t count, uint32_t texture, bool intense) {
  fakes::ScriptedMagic::List list;
  list.list.count = count;
  list.list.texture = texture;
  list.list.intense = intense ? 1 : 0;
  for (uint32_t i = 0; i < count && i < 1000; ++i) {
    list.particles.push_back(ScriptedQuad(float(i) * 10.0f, 5.0f, 8.0f, 0xFFFFFFFFu));
  }
  return list;
}

class ParticleDrawTest : public testgraphics::DrawFrameTest {
 protected:
  void SetUp() override {
    // The particle system's atlases: 0 loads, 1 does not.
    mMagic.defaults["OpenFileInMemory"] = 1;
    mMagic.defaults["InInterval"] = 1;
    mMagic.atlases = {"fx2_atlas.png", "missing.png"};
    mSystem = render::ParticleSystem::Instance();
    mSystem->SetFolder(std::string(QM_SOURCE_DIR) + "/data/ruv/fx/");
    mSystem->Load("fx2.ptc", &mRender);
    ASSERT_EQ(mSystem->GetAtlasCount(), 2u);
    ASSERT_NE(mSystem->GetAtlas(0), nullptr);
    mEmitter.SetState(1);
    mMagic.calls.clear();
  }
  void TearDown() override {
    mSystem->ReleaseAtlases();
    mSystem->SetFolder("");
  }

  std::vector<long> Blends() const {
    std::vector<long> modes;
    for (const auto& args : mRender.Arguments("SetBlendMode")) modes.push_back(args.at(0));
    return modes;
  }

  fakes::ScriptedMagic mMagic;
  render::ParticleSystem* mSystem = nullptr;
  render::ParticleEmitter mEmitter{5};
};

TEST_F(ParticleDrawTest, EachListIsOneIndexedDrawInItsBlendModeAndTheModeComesBack) {
  mMagic.lists = {ScriptedList(2, 0, true), ScriptedList(1, 0, false), ScriptedList(3, 0, true)};
  render::Image* sprite = MakeImage(4, 4);
  int drawn = -1;
  Frame([&](render::Graphics& g) {
    g.DrawParticles(&mEmitter)->mOutCount = &drawn;
    g.DrawImage(sprite);
  });
  EXPECT_EQ(drawn, 6);
  EXPECT_EQ(Blends(), (std::vector<long>{2, 1, 2, 1}));
  const auto draws = mRender.Arguments("DrawIndexed");
  ASSERT_EQ(draws.size(), 4u);
  const long primitives[] = {4, 2, 6, 2};
  const long vertices[] = {8, 4, 12, 4};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(draws[i][3], primitives[i]) << i;
    EXPECT_EQ(draws[i][5], vertices[i]) << i;
  }
}

TEST_F(ParticleDrawTest, CornersInOrderColoursTimesTheContextColour) {
  fakes::ScriptedMagic::List list = ScriptedList(0, 0, false);
  list.list.count = 2;
  list.particles = {ScriptedQuad(10, 20, 4, 0xFFFF0000u), ScriptedQuad(30, 40, 2, 0x80FFFFFFu)};
  mMagic.lists = {list};
  Frame([&](render::Graphics& g) {
    g.SetColorRGBA(0.5f, 1.0f, 1.0f, 0.5f);
    g.DrawParticles(&mEmitter);
  });
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 8u);
  auto channel = [](float value) { return uint32_t(int(value * 255.0f)) & 0xFF; };
  const uint32_t first = channel(1.0f * 0.5f) << 24 | channel(1.0f * 0.5f) << 16;
  const uint32_t second = channel(float(0x80) / 255.0f * 0.5f) << 24 | channel(0.5f) << 16 | 0xFF << 8 | 0xFF;
  const float xs[] = {10, 14, 14, 10, 30, 32, 32, 30};
  const float ys[] = {20, 20, 24, 24, 40, 40, 42, 42};
  const float us[] = {0, 1, 1, 0};
  const float vs[] = {0, 0, 1, 1};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_FLOAT_EQ(v[i].x, xs[i] - 0.5f) << i;
    EXPECT_FLOAT_EQ(v[i].y, ys[i] - 0.5f) << i;
    EXPECT_FLOAT_EQ(v[i].z, 0.0f);
    EXPECT_FLOAT_EQ(v[i].w, 1.0f);
    EXPECT_FLOAT_EQ(v[i].u, us[i % 4]);
    EXPECT_FLOAT_EQ(v[i].v, vs[i % 4]);
    EXPECT_EQ(v[i].diffuse, i < 4 ? first : second) << i;
    EXPECT_EQ(v[i].specular, 0xFFFFFFFFu);
  }
  const auto draw = mRender.Arguments("DrawIndexed").back();
  const uint16_t* indices = mRender.GetBoundIndices() + draw[2];
  const uint16_t b = uint16_t(draw[4]);
  const std::vector<uint16_t> expected = {b,
                                          uint16_t(b + 1),
                                          uint16_t(b + 2),
                                          b,
                                          uint16_t(b + 2),
                                          uint16_t(b + 3),
                                          uint16_t(b + 4),
                                          uint16_t(b + 5),
                                          uint16_t(b + 6),
                                          uint16_t(b + 4),
                                          uint16_t(b + 6),
                                          uint16_t(b + 7)};
  EXPECT_EQ(std::vector<uint16_t>(indices, indices + 12), expected);
}

TEST_F(ParticleDrawTest, ListsWithoutAnAtlasAreReadPastAndCountedNotDrawn) {
  mMagic.lists = {ScriptedList(1, 1, true), ScriptedList(2, 0, false), ScriptedList(3, 9, false)};
  int drawn = -1;
  Frame([&](render::Graphics& g) { g.DrawParticles(&mEmitter)->mOutCount = &drawn; });
  EXPECT_EQ(drawn, 6);
  EXPECT_EQ(mRender.Arguments("DrawIndexed").size(), 1u);
  EXPECT_EQ(mMagic.CallsOf("GetNextParticleVertexes").size(), 6u);
  EXPECT_EQ(mMagic.CallsOf("CreateNextRenderedParticlesList").size(), 3u);
}

TEST_F(ParticleDrawTest, AFailingListStillRestoresTheBlendMode) {
  mMagic.lists = {ScriptedList(1, 0, true), ScriptedList(100000, 0, true)};  // more than any cache holds
  render::ParticleDrawStatistics statistics;
  VNResultEnum result = VN_OK;
  int blendAfter = -1;
  Frame([&](render::Graphics& g) {
    result = mEmitter.Draw(&g, nullptr, &statistics);
    blendAfter = g.GetState().mBlendMode;
  });
  EXPECT_EQ(result, VN_FAIL);
  EXPECT_EQ(blendAfter, render::DrawState::kBlendAlpha);
  EXPECT_EQ(statistics.mCount, 1u);
}

TEST_F(ParticleDrawTest, AStoppedEmitterDrawsNothingButResetsItsBoxes) {
  mMagic.lists = {ScriptedList(2, 0, true)};
  mEmitter.SetState(0);
  for (long inInterval : {1L, 0L}) {
    mMagic.defaults["InInterval"] = inInterval;
    math::Box3 before;
    math::Box3 after;
    before.AddPoint({1, 2, 3});
    after.AddPoint({4, 5, 6});
    int drawn = -1;
    int blendAfter = -1;
    Frame([&](render::Graphics& g) {
      g.SetBlendMode(render::DrawState::kBlendAdditive);
      {
        auto request = g.DrawParticles(&mEmitter);
        request->mOutCount = &drawn;
        request->mBoxBefore = &before;
        request->mBoxAfter = &after;
      }  // drawn here
      blendAfter = g.GetState().mBlendMode;
    });
    EXPECT_EQ(drawn, 0);
    EXPECT_GT(before.min.x, before.max.x);
    EXPECT_GT(after.min.x, after.max.x);
    EXPECT_EQ(blendAfter, render::DrawState::kBlendAdditive);
    EXPECT_TRUE(mRender.Arguments("DrawIndexed").empty());
    EXPECT_TRUE(mMagic.CallsOf("CreateFirstRenderedParticlesList").empty());
    mEmitter.SetState(1);  // playing, but outside its interval
    mMagic.calls.clear();
  }
}

TEST_F(ParticleDrawTest, TransformedRequestMovesTheVerticesBetweenTheTwoBoxes) {
  fakes::ScriptedMagic::List list = ScriptedList(0, 0, false);
  list.list.count = 1;
  list.particles = {ScriptedQuad(10, 20, 4, 0xFFFFFFFFu)};
  mMagic.lists = {list};
  math::Box3 before;
  math::Box3 after;
  int drawn = -1;
  Frame([&](render::Graphics& g) {
    math::Transform2D transform;
    transform.Translate(100, 50);
    auto request = g.DrawParticles(&mEmitter).Transform(transform);
    request->mOutCount = &drawn;
    request->mBoxBefore = &before;
    request->mBoxAfter = &after;
  });
  EXPECT_EQ(drawn, 1);
  EXPECT_FLOAT_EQ(before.min.x, 10);
  EXPECT_FLOAT_EQ(before.max.y, 24);
  EXPECT_FLOAT_EQ(after.min.x, 110);
  EXPECT_FLOAT_EQ(after.max.y, 74);
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[0].x, 109.5f);
  EXPECT_FLOAT_EQ(v[2].y, 73.5f);
}

}  // namespace
