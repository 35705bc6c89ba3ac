#pragma once
// A recording renderer with one frame at a time drawn through a screen context.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Texture.h"
#include "Core/Render/Vertices.h"
#include "tests/fakes/RecordingRender.h"

namespace testgraphics {

class DrawFrameTest : public ::testing::Test {
 protected:
  DrawFrameTest() { mRender.Init(); }

  // Begins a frame, lets draw use a fresh screen context, ends, presents and plays the frame.
  void Frame(const std::function<void(render::Graphics&)>& draw) {
    mRender.mCalls.clear();
    ASSERT_EQ(mRender.BeginFrame(), VN_OK);
    {
      render::Graphics graphics(&mRender);
      draw(graphics);
    }
    ASSERT_EQ(mRender.EndFrame(), VN_OK);
    ASSERT_EQ(mRender.Present(), VN_OK);
    ASSERT_EQ(mRender.PlayCommands(), VN_OK);
  }

  // The vertices of the last indexed draw of the played frame.
  template <class Vertex>
  std::vector<Vertex> LastIndexedVertices() const {
    const std::vector<std::vector<long>> draws = mRender.Arguments("DrawIndexed");
    if (draws.empty() || draws.back().size() != 6) return {};
    const auto* first = static_cast<const Vertex*>(mRender.GetBoundVertices()) + draws.back()[4];
    return std::vector<Vertex>(first, first + draws.back()[5]);
  }

  // An image over its own w x h texture.
  render::Image* MakeImage(int width, int height) {
    render::Texture* texture = nullptr;
    mRender.CreateTexture(texture);
    texture->CreateRenderTarget(width, height);
    mImages.emplace_back(new render::Image(texture));
    return mImages.back().get();
  }

  fakes::RecordingRender mRender;
  std::vector<std::unique_ptr<render::Image>> mImages;
};

}  // namespace testgraphics
