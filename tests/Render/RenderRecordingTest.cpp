// Recording, merging and playback of the command buffer, on a renderer that records its device
// operations.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "Core/Render/Buffer.h"
#include "Core/Render/Texture.h"
#include "Core/Render/Vertices.h"
#include "fakes/RecordingRender.h"

namespace {

using render::Command;
using render::DrawState;
using render::Render;
using Calls = std::vector<std::string>;

class RenderRecordingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(mRender.Init(), VN_OK);
    ASSERT_EQ(mRender.CreateVertexBuffer(render::SVertex2D::GetFormat(), 100, true, mVertices),
              VN_OK);
    ASSERT_EQ(mRender.CreateIndexBuffer(2, 600, true, mIndices), VN_OK);
    render::Texture* target = nullptr;
    ASSERT_EQ(mRender.CreateTexture(target), VN_OK);
    mTarget = target;
    ASSERT_EQ(mTarget->CreateRenderTarget(64, 32), VN_OK);
    mState.mVertexBuffer = mVertices;
    mState.mIndexBuffer = mIndices;
    mState.mBlendMode = DrawState::kBlendAlpha;
  }

  void TearDown() override {
    delete mVertices;
    delete mIndices;
    delete mTarget;
  }

  // Ends the frame begun by the test, plays it and returns the device operations of the frame.
  Calls PlayFrame() {
    EXPECT_EQ(mRender.EndFrame(), VN_OK);
    EXPECT_EQ(mRender.Present(), VN_OK);
    mRender.mCalls.clear();
    EXPECT_EQ(mRender.PlayCommands(), VN_OK);
    EXPECT_EQ(mRender.GetCommandBuffer().GetPosition(), 0u);
    return mRender.mCalls;
  }

  // The device operations between BeginScene and EndScene that are draws or state of the kind.
  static Calls Only(const Calls& calls, const std::vector<std::string>& names) {
    Calls found;
    for (const std::string& call : calls) {
      for (const std::string& name : names) {
        if (call.compare(0, name.size() + 1, name + "(") == 0) found.push_back(call);
      }
    }
    return found;
  }

  fakes::RecordingRender mRender;
  render::VertexBufferImpl* mVertices = nullptr;
  render::IndexBufferImpl* mIndices = nullptr;
  render::Texture* mTarget = nullptr;
  DrawState mState;
};

TEST_F(RenderRecordingTest, EmptyFrameRecordsBeginEndPresent) {
  render::CommandBuffer& commands = mRender.GetCommandBuffer();
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  EXPECT_TRUE(mRender.IsInFrame());
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
  EXPECT_FALSE(mRender.IsInFrame());
  ASSERT_EQ(mRender.Present(), VN_OK);
  ASSERT_EQ(commands.GetPosition(), 12u);
  uint32_t ops[4];
  ASSERT_EQ(mRender.PlayCommands(), VN_OK);
  std::memcpy(ops, commands.GetBuffer(), sizeof ops);
  EXPECT_EQ(ops[0], uint32_t(Command::kBeginScene));
  EXPECT_EQ(ops[1], uint32_t(Command::kEndScene));
  EXPECT_EQ(ops[2], uint32_t(Command::kPresent));
  EXPECT_EQ(ops[3], uint32_t(Command::kEndOfStream));
  EXPECT_EQ(mRender.mCalls, (Calls{"BeginScene()", "EndScene()", "Present()"}));
  EXPECT_EQ(commands.GetPosition(), 0u);
}

TEST_F(RenderRecordingTest, ContiguousIndexedQuadsMergeIntoOneDraw) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.DrawIndexed(Render::kTriangleList, 0, 2, 4, 4), VN_OK);
  ASSERT_EQ(mRender.DrawIndexed(Render::kTriangleList, 6, 2, 0, 4), VN_OK);
  EXPECT_EQ(PlayFrame(), (Calls{"BeginScene()", "SetVertexFormat(0)", "SetVertexBuffer(100)",
                                "SetIndexBuffer(600)", "SetBlendMode(1)",
                                "DrawIndexed(3, 2, 0, 4, 0, 8)", "EndScene()", "Present()"}));
}

TEST_F(RenderRecordingTest, BlendChangeSplitsTheDraws) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.DrawIndexed(Render::kTriangleList, 0, 2, 0, 4), VN_OK);
  DrawState additive = mState;
  additive.mBlendMode = DrawState::kBlendAdditive;
  ASSERT_EQ(mRender.SetState(additive, false), VN_OK);
  ASSERT_EQ(mRender.DrawIndexed(Render::kTriangleList, 6, 2, 4, 4), VN_OK);
  EXPECT_EQ(Only(PlayFrame(), {"DrawIndexed", "SetBlendMode"}),
            (Calls{"SetBlendMode(1)", "DrawIndexed(3, 2, 0, 2, 0, 4)", "SetBlendMode(2)",
                   "DrawIndexed(3, 2, 6, 2, 4, 4)"}));
}

// Two draws of each primitive type, the second continuing where the first ended (or not).
struct MergeCase {
  uint32_t type;
  uint32_t secondStart;
  size_t draws;
};

class DrawMergeTest : public RenderRecordingTest, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(DrawMergeTest, OnlyContiguousListsMerge) {
  const MergeCase& c = GetParam();
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(c.type, 0, 2), VN_OK);
  ASSERT_EQ(mRender.Draw(c.type, c.secondStart, 3), VN_OK);
  const Calls draws = Only(PlayFrame(), {"Draw"});
  ASSERT_EQ(draws.size(), c.draws);
  if (c.draws == 1) {
    EXPECT_EQ(draws[0], "Draw(" + std::to_string(c.type) + ", 0, 5)");
  }
}

INSTANTIATE_TEST_SUITE_P(PrimitiveTypes, DrawMergeTest,
                         ::testing::Values(MergeCase{Render::kPointList, 2, 1},
                                           MergeCase{Render::kLineList, 4, 1},
                                           MergeCase{Render::kTriangleList, 6, 1},
                                           MergeCase{Render::kTriangleList, 7, 2},
                                           MergeCase{Render::kLineStrip, 3, 2},
                                           MergeCase{Render::kTriangleStrip, 4, 2},
                                           MergeCase{Render::kTriangleFan, 4, 2}));

TEST_F(RenderRecordingTest, IndexedAndPlainDrawsNeverMerge) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 0, 2), VN_OK);
  ASSERT_EQ(mRender.DrawIndexed(Render::kTriangleList, 6, 2, 0, 4), VN_OK);
  EXPECT_EQ(Only(PlayFrame(), {"Draw", "DrawIndexed"}),
            (Calls{"Draw(3, 0, 2)", "DrawIndexed(3, 2, 6, 2, 0, 4)"}));
}

TEST_F(RenderRecordingTest, StateFiltering) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 0, 1), VN_OK);
  // The same object again without force is not looked at, even though it changed.
  mState.mBlendMode = DrawState::kBlendNone;
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 3, 1), VN_OK);
  // A viewport change under the same target is not taken; the forced blend change is.
  mState.mViewportScaleX = 3.0f;
  ASSERT_EQ(mRender.SetState(mState, true), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 6, 1), VN_OK);
  // A scissor rectangle is not taken while clipping is off.
  DrawState clipped = mState;
  clipped.mScissorRect = math::Rect(1, 2, 3, 4);
  ASSERT_EQ(mRender.SetState(clipped, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 9, 1), VN_OK);
  EXPECT_EQ(Only(PlayFrame(), {"Draw", "SetBlendMode", "SetScissorRect"}),
            (Calls{"SetBlendMode(1)", "Draw(3, 0, 2)", "SetBlendMode(0)", "Draw(3, 6, 2)"}));
}

TEST_F(RenderRecordingTest, RetargetResendsTheClipOnlyWhenAsked) {
  for (bool resend : {false, true}) {
    SCOPED_TRACE(resend);
    mRender.SetResendClipOnTarget(resend);
    ASSERT_EQ(mRender.BeginFrame(), VN_OK);
    DrawState onTarget = mState;
    onTarget.mTarget = mTarget;
    onTarget.mViewportScaleX = 0.5f;
    onTarget.mScissorRect = math::Rect(10, 20, 30, 40);
    for (const DrawState* state : {&mState, &onTarget, &mState}) {
      ASSERT_EQ(mRender.SetState(*state, false), VN_OK);
      ASSERT_EQ(mRender.Draw(Render::kTriangleList, 0, 1), VN_OK);
    }
    const Calls calls = Only(PlayFrame(), {"SetRenderTarget", "SetScissorEnable", "SetScissorRect"});
    if (resend) {
      // Sent even while clipping is off (the rectangle is then the one last taken).
      EXPECT_EQ(calls, (Calls{"SetRenderTarget(64x32)", "SetScissorEnable(0)",
                              "SetScissorRect(0, 0, 0, 0)", "SetRenderTarget(null)",
                              "SetScissorEnable(0)", "SetScissorRect(0, 0, 0, 0)"}));
    } else {
      EXPECT_EQ(calls, (Calls{"SetRenderTarget(64x32)", "SetRenderTarget(null)"}));
    }
  }
}

TEST_F(RenderRecordingTest, ClearOfANewTargetSwitchesOnce) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  DrawState onTarget = mState;
  onTarget.mTarget = mTarget;
  ASSERT_EQ(mRender.SetRenderTarget(onTarget), VN_OK);
  const float color[4] = {1.0f, 0.5f, 0.0f, 1.0f};
  ASSERT_EQ(mRender.Clear(Render::kClearTarget, color, 1.0f, 0), VN_OK);
  ASSERT_EQ(mRender.SetState(onTarget, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 0, 1), VN_OK);
  EXPECT_EQ(Only(PlayFrame(), {"SetRenderTarget", "Clear", "Draw"}),
            (Calls{"SetRenderTarget(64x32)", "Clear(1, 1, 0.5, 0, 1, 1, 0)", "Draw(3, 0, 1)"}));
}

TEST_F(RenderRecordingTest, DepthRecordCarriesTheWriteByteOnlyWithTheTest) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 0, 1), VN_OK);
  render::CommandBuffer& commands = mRender.GetCommandBuffer();
  constexpr unsigned kDrawRecord = 16;
  DrawState depth = mState;
  depth.mDepthTest = true;
  depth.mDepthWrite = false;
  unsigned before = commands.GetPosition();
  ASSERT_EQ(mRender.SetState(depth, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 3, 1), VN_OK);
  EXPECT_EQ(commands.GetPosition() - before, kDrawRecord + 6);
  before = commands.GetPosition();
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 6, 1), VN_OK);
  EXPECT_EQ(commands.GetPosition() - before, kDrawRecord + 5);
  EXPECT_EQ(Only(PlayFrame(), {"SetDepthState"}),
            (Calls{"SetDepthState(1, 0)", "SetDepthState(0, 0)"}));
}

TEST_F(RenderRecordingTest, DefaultStatesRecordNoDepthState) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 0, 1), VN_OK);
  EXPECT_TRUE(Only(PlayFrame(), {"SetDepthState"}).empty());
}

TEST_F(RenderRecordingTest, FailingDeviceCallStopsPlaybackAndRewinds) {
  mRender.mFailCall = "Draw";
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 0, 1), VN_OK);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
  ASSERT_EQ(mRender.Present(), VN_OK);
  EXPECT_EQ(mRender.PlayCommands(), VN_FAIL);
  EXPECT_EQ(mRender.mCalls.back(), "Draw(3, 0, 1)");
  EXPECT_EQ(mRender.GetCommandBuffer().GetPosition(), 0u);

  // The next frame plays only its own records.
  mRender.mFailCall.clear();
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  EXPECT_EQ(PlayFrame(), (Calls{"BeginScene()", "EndScene()", "Present()"}));
}

TEST_F(RenderRecordingTest, DroppedFrameDiscardsTheRecords) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(mRender.SetState(mState, false), VN_OK);
  ASSERT_EQ(mRender.Draw(Render::kTriangleList, 0, 1), VN_OK);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
  mRender.mDeviceReady = false;
  EXPECT_FALSE(mRender.CheckDevice());
  EXPECT_EQ(mRender.GetCommandBuffer().GetPosition(), 0u);
  mRender.mDeviceReady = true;
  EXPECT_TRUE(mRender.CheckDevice());
}

TEST_F(RenderRecordingTest, UnknownOpcodesAreSkipped) {
  render::CommandBuffer& commands = mRender.GetCommandBuffer();
  ASSERT_TRUE(commands.Put(Command::kBeginScene, uint32_t(15), uint32_t(99), Command::kPresent));
  EXPECT_EQ(mRender.PlayCommands(), VN_OK);
  EXPECT_EQ(mRender.mCalls, (Calls{"BeginScene()", "Present()"}));
}

struct DeviceRectCase {
  math::Rect rect;
  uint32_t expected[4];
};

TEST_F(RenderRecordingTest, DeviceRectangleIsCutToTheTarget) {
  // Screen 1024 x 768 through scale 2 and offset (10, -20).
  DrawState state;
  state.mTarget = mTarget;
  state.mViewportScaleX = 2.0f;
  state.mViewportScaleY = 2.0f;
  state.mViewportOffsetX = 10.0f;
  state.mViewportOffsetY = -20.0f;
  ASSERT_EQ(mRender.SetRenderTarget(state), VN_OK);
  const DeviceRectCase cases[] = {
      {{1.25f, 12.0f, 5.75f, 4.0f}, {12, 4, 11, 8}},   // inside: truncated as it stands
      {{-20.0f, 0.0f, 20.0f, 10.0f}, {0, 0, 10, 0}},   // left and top of the target cut off
      {{20.0f, 20.0f, 100.0f, 100.0f}, {50, 20, 14, 12}},  // right and bottom cut off
      {{-100.0f, -100.0f, 10.0f, 10.0f}, {0, 0, 0, 0}},    // wholly outside
  };
  for (const DeviceRectCase& c : cases) {
    uint32_t out[4];
    ASSERT_EQ(mRender.ToDeviceRect(c.rect, out), VN_OK);
    EXPECT_EQ(std::vector<uint32_t>(out, out + 4), std::vector<uint32_t>(c.expected, c.expected + 4))
        << c.rect.x << ", " << c.rect.y;
  }
}

TEST(RenderRegistryTest, ObjectsMayOutliveTheirRenderer) {
  auto renderer = std::make_unique<fakes::RecordingRender>();
  ASSERT_EQ(renderer->Init(), VN_OK);
  render::Texture* texture = nullptr;
  render::VertexBufferImpl* buffer = nullptr;
  ASSERT_EQ(renderer->CreateTexture(texture), VN_OK);
  ASSERT_EQ(renderer->CreateVertexBuffer(render::SVertexGeom::GetFormat(), 4, false, buffer), VN_OK);
  EXPECT_EQ(renderer->GetTextures().size(), 1u);
  renderer.reset();
  EXPECT_EQ(texture->GetOwner(), nullptr);
  EXPECT_EQ(buffer->GetOwner(), nullptr);
  delete texture;
  delete buffer;
}

TEST(CommandBufferTest, GrowsByHalfOrByTheNeedPlusOneKilobyte) {
  struct Case {
    std::vector<unsigned> writes;
    unsigned expected;
  };
  const Case cases[] = {
      {{4}, 1028},                 // from nothing: the need plus 1 KiB
      {{4, 1024}, 1028},           // fits exactly: no growth
      {{4, 1024, 4}, 1542},        // by half
      {{4, 1024, 2000}, 4052},     // more than half: the need plus 1 KiB
  };
  const std::vector<unsigned char> bytes(4096, 7);
  for (const Case& c : cases) {
    render::CommandBuffer buffer;
    for (unsigned n : c.writes) ASSERT_EQ(buffer.Write(bytes.data(), n), n);
    EXPECT_EQ(buffer.GetSize(), c.expected) << c.writes.size();
  }
}

TEST(CommandBufferTest, RecordsArePackedWithoutPadding) {
  render::CommandBuffer buffer;
  int value = 0;
  int* pointer = &value;
  ASSERT_TRUE(buffer.Put(Command::kSetRenderTarget, pointer, uint8_t(1)));
  EXPECT_EQ(buffer.GetPosition(), 4 + sizeof(pointer) + 1);
  buffer.Seek(0, base::Stream::kBegin);
  Command command;
  int* read = nullptr;
  uint8_t byte = 0;
  ASSERT_TRUE(buffer.Get(command, read, byte));
  EXPECT_EQ(command, Command::kSetRenderTarget);
  EXPECT_EQ(read, pointer);
  EXPECT_EQ(byte, 1);
}

}  // namespace
