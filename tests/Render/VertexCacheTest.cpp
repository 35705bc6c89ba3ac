// Vertex formats and the per-frame buffer caches.
#include <gtest/gtest.h>

#include <vector>

#include "Core/Render/BufferDoubleCacheCreator.h"
#include "Core/Render/Vertices.h"
#include "fakes/RecordingRender.h"

namespace {

using render::BufferDoubleCache;
using render::BufferRange;
using render::SVertex2D;
using render::SVertexGeom;
using render::SVertexRT;
using render::VertexBuffer;
using render::VertexFormat;
using Cache2D = BufferDoubleCache<VertexBuffer<SVertex2D>>;

TEST(VertexFormatTest, StaticFormats) {
  struct Case {
    const VertexFormat& format;
    int id;
    int stride;
    uint32_t fvf;
    int mainCapacity;
    int overflowCapacity;
    int positionComponents;
    size_t texCoordSets;
  };
  const Case cases[] = {
      {SVertex2D::GetFormat(), 0, 32, 0x41C2, 40960, 10240, 4, 1},
      {SVertexGeom::GetFormat(), 1, 16, 0x42, 5120, 1024, 3, 0},
      {SVertexRT::GetFormat(), 2, 24, 0x4102, 0, 0, 4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(c.format.GetId(), c.id);
    EXPECT_EQ(c.format.GetStride(), c.stride);
    EXPECT_EQ(c.format.GetFvf(), c.fvf);
    EXPECT_EQ(c.format.GetMainCapacity(), c.mainCapacity);
    EXPECT_EQ(c.format.GetOverflowCapacity(), c.overflowCapacity);
    EXPECT_EQ(c.format.GetPosition().mName, "pos");
    EXPECT_EQ(c.format.GetPosition().mComponents, c.positionComponents);
    EXPECT_EQ(c.format.GetTexCoordSets().size(), c.texCoordSets);
    // The registry holds an equal copy at the id.
    const VertexFormat* registered = VertexFormat::Get(c.id);
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered->GetFvf(), c.fvf);
    EXPECT_EQ(registered->GetElements().size(), c.format.GetElements().size());
    EXPECT_NE(VertexFormat::GetCacheCreator(c.id), nullptr);
  }
  EXPECT_EQ(SVertex2D::GetFormat().GetTexCoordSets()[0], std::make_pair(2, 24));
  EXPECT_EQ(VertexFormat::Get(VertexFormat::GetCount()), nullptr);
}

TEST(VertexFormatTest, TextureCoordinateSizesAndCounts) {
  // Sets of 1, 3 and 4 components set their size bits; the count bits follow the number of sets.
  VertexFormat format(0, 0);
  format.AddElement("pos", 0, 12, VertexFormat::kPosition, 3);
  format.AddElement("normal", 12, 12, VertexFormat::kNormal, 3);
  format.AddElement("t0", 24, 4, VertexFormat::kTexCoord, 1);
  format.AddElement("t1", 28, 12, VertexFormat::kTexCoord, 3);
  format.AddElement("t2", 40, 16, VertexFormat::kTexCoord, 4);
  format.Register(56, new render::BufferDoubleCacheCreatorConcrete<SVertexRT>);
  EXPECT_EQ(format.GetFvf(), 0x002u | 0x010u | 3u << 16 | 1u << 18 | 2u << 20 | 0x300u);
  EXPECT_EQ(VertexFormat::Get(format.GetId())->GetStride(), 56);
}

class VertexCacheTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(mRender.Init(), VN_OK); }

  Cache2D* Cache() { return static_cast<Cache2D*>(mRender.GetVertexCache(0)); }

  // Allocates n vertices and returns the range's start and whether it lies in the main buffer.
  VNResultEnum Take(unsigned n, BufferRange<VertexBuffer<SVertex2D>>& range) {
    SVertex2D* vertices = nullptr;
    const VNResultEnum result = Cache()->Allocate(n, &vertices, range);
    if (result == VN_OK) {
      EXPECT_NE(vertices, nullptr);
      vertices[n - 1].x = 1.0f;  // the whole range is writable (checked under ASan)
    }
    return result;
  }

  fakes::RecordingRender mRender;
};

TEST_F(VertexCacheTest, RendererMakesTheCachesOfItsFormats) {
  EXPECT_NE(mRender.GetVertexCache(0), nullptr);
  EXPECT_NE(mRender.GetVertexCache(1), nullptr);
  EXPECT_EQ(mRender.GetVertexCache(2), nullptr);
  EXPECT_NE(mRender.GetIndexCache16(), nullptr);
  EXPECT_NE(mRender.GetIndexCache32(), nullptr);
  // Main pairs: 2D, geometry, 16-bit and 32-bit indices.
  EXPECT_EQ(mRender.GetBuffers().size(), 8u);
}

TEST_F(VertexCacheTest, QuadsFillTheMainBufferThenOpenAnOverflowBuffer) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  BufferRange<VertexBuffer<SVertex2D>> range;
  ASSERT_EQ(Take(4, range), VN_OK);
  VertexBuffer<SVertex2D>* main = range.mBuffer;
  for (unsigned quad = 1; quad < 10240; ++quad) {
    ASSERT_EQ(Take(4, range), VN_OK);
    ASSERT_EQ(range.mStart, quad * 4);
    ASSERT_EQ(range.mBuffer, main);
  }
  ASSERT_EQ(Take(4, range), VN_OK);
  EXPECT_NE(range.mBuffer, main);
  EXPECT_EQ(range.mStart, 0u);
  EXPECT_EQ(range.mBuffer->GetBuffer()->GetCapacity(), 10240u);
  EXPECT_EQ(Cache()->GetOverflowCount(), 1u);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);

  // The next frame starts again at the main buffer's first element and keeps the overflow pair.
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(Take(4, range), VN_OK);
  EXPECT_EQ(range.mBuffer, main);
  EXPECT_EQ(range.mStart, 0u);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
  EXPECT_EQ(Cache()->GetOverflowCount(), 1u);
}

TEST_F(VertexCacheTest, SmallRequestFillsTheGapLeftInTheMainBuffer) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  BufferRange<VertexBuffer<SVertex2D>> range;
  for (int i = 0; i < 4; ++i) ASSERT_EQ(Take(10239, range), VN_OK);
  ASSERT_EQ(Take(1, range), VN_OK);  // 3 left in the main buffer
  VertexBuffer<SVertex2D>* main = range.mBuffer;
  ASSERT_EQ(Take(4, range), VN_OK);
  EXPECT_NE(range.mBuffer, main);
  EXPECT_EQ(range.mStart, 0u);
  ASSERT_EQ(Take(2, range), VN_OK);
  EXPECT_EQ(range.mBuffer, main);
  EXPECT_EQ(range.mStart, 40957u);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
}

TEST_F(VertexCacheTest, OverflowBuffersAreSearchedInCreationOrder) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  BufferRange<VertexBuffer<SVertex2D>> range;
  ASSERT_EQ(Take(40960, range), VN_OK);  // the main buffer is full
  ASSERT_EQ(Take(10237, range), VN_OK);  // first overflow buffer: 3 left
  VertexBuffer<SVertex2D>* first = range.mBuffer;
  ASSERT_EQ(Take(10236, range), VN_OK);  // second: 4 left
  VertexBuffer<SVertex2D>* second = range.mBuffer;
  ASSERT_NE(second, first);
  ASSERT_EQ(Take(4, range), VN_OK);  // only the second has room for 4
  EXPECT_EQ(range.mBuffer, second);
  EXPECT_EQ(range.mStart, 10236u);
  ASSERT_EQ(Take(4, range), VN_OK);  // neither has: a third buffer
  EXPECT_EQ(Cache()->GetOverflowCount(), 3u);
  EXPECT_EQ(range.mStart, 0u);
  ASSERT_EQ(Take(3, range), VN_OK);  // a smaller request goes back to the first
  EXPECT_EQ(range.mBuffer, first);
  EXPECT_EQ(range.mStart, 10237u);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);

  // A new frame starts from the first overflow buffer again.
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  ASSERT_EQ(Take(40960, range), VN_OK);
  ASSERT_EQ(Take(4, range), VN_OK);
  EXPECT_EQ(range.mBuffer, first);
  EXPECT_EQ(range.mStart, 0u);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
}

TEST_F(VertexCacheTest, QuadsRunThroughTheOverflowBuffersOneAfterAnother) {
  // Once the main buffer is short, quads keep filling the overflow buffer the last one went to
  // until it is full, then the next; a larger request in between moves on without losing the gap.
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  BufferRange<VertexBuffer<SVertex2D>> range;
  ASSERT_EQ(Take(40958, range), VN_OK);  // 2 left in the main buffer
  std::vector<VertexBuffer<SVertex2D>*> buffers;
  for (unsigned quad = 0; quad < 2560 * 2; ++quad) {
    ASSERT_EQ(Take(4, range), VN_OK);
    if (range.mStart == 0) buffers.push_back(range.mBuffer);
    ASSERT_EQ(range.mStart, (quad % 2560) * 4) << quad;
    ASSERT_EQ(range.mBuffer, buffers.back()) << quad;
  }
  EXPECT_EQ(buffers.size(), 2u);
  ASSERT_EQ(Take(2, range), VN_OK);  // the main buffer's gap
  EXPECT_EQ(range.mStart, 40958u);
  ASSERT_EQ(Take(10000, range), VN_OK);  // a third overflow buffer
  ASSERT_EQ(Take(4, range), VN_OK);
  EXPECT_EQ(range.mStart, 10000u);
  EXPECT_EQ(Cache()->GetOverflowCount(), 3u);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
}

TEST_F(VertexCacheTest, RequestAboveTheOverflowSizeFailsOnceTheMainBufferIsShort) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  BufferRange<VertexBuffer<SVertex2D>> range;
  ASSERT_EQ(Take(10241, range), VN_OK);  // the main buffer still has room
  ASSERT_EQ(Take(30000, range), VN_OK);
  EXPECT_EQ(Take(10241, range), VN_FAIL);
  EXPECT_EQ(Cache()->GetOverflowCount(), 0u);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
}

// Once a buffer is locked, requests take their room without the buffer's own checks: the memory
// handed out follows the ranges element by element, and the used count grows with them.
TEST_F(VertexCacheTest, MemoryOfLockedBuffersFollowsTheRanges) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  render::IndexCache16* indexCache = mRender.GetIndexCache16();
  SVertex2D* firstVertex = nullptr;
  unsigned short* firstIndex = nullptr;
  BufferRange<VertexBuffer<SVertex2D>> vertexRange;
  BufferRange<render::IndexBuffer<unsigned short>> indexRange;
  ASSERT_EQ(Cache()->Allocate(4, &firstVertex, vertexRange), VN_OK);  // locks
  ASSERT_EQ(indexCache->Allocate(6, &firstIndex, indexRange), VN_OK);
  unsigned vertexCount = 4, indexCount = 6;
  for (const unsigned n : {1u, 4u, 3u, 6u}) {
    SVertex2D* vertices = nullptr;
    unsigned short* indices = nullptr;
    ASSERT_EQ(Cache()->Allocate(n, &vertices, vertexRange), VN_OK);
    ASSERT_EQ(indexCache->Allocate(n, &indices, indexRange), VN_OK);
    EXPECT_EQ(vertexRange.mStart, vertexCount);
    EXPECT_EQ(vertices, firstVertex + vertexCount);
    EXPECT_EQ(indexRange.mStart, indexCount);
    EXPECT_EQ(indices, firstIndex + indexCount);
    vertexCount += n;
    indexCount += n;
    EXPECT_EQ(vertexRange.mBuffer->GetBuffer()->GetUsed(), vertexCount);
    EXPECT_EQ(indexRange.mBuffer->GetBuffer()->GetUsed(), indexCount);
  }
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
}

TEST_F(VertexCacheTest, FrameBracketsAreChecked) {
  BufferRange<VertexBuffer<SVertex2D>> range;
  EXPECT_EQ(Take(4, range), VN_FAIL);  // outside a frame
  EXPECT_EQ(Cache()->End(), VN_FAIL);
  ASSERT_EQ(Cache()->Begin(), VN_OK);
  EXPECT_EQ(Cache()->Begin(), VN_FAIL);
  EXPECT_EQ(Cache()->ReleaseOverflow(), VN_FAIL);
  EXPECT_EQ(Cache()->End(), VN_OK);
  EXPECT_EQ(Cache()->ReleaseOverflow(), VN_OK);
}

TEST_F(VertexCacheTest, IndexCachesHandOutTheirOwnElementType) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  unsigned short* indices16 = nullptr;
  BufferRange<render::IndexBuffer<unsigned short>> range16;
  ASSERT_EQ(mRender.GetIndexCache16()->Allocate(6, &indices16, range16), VN_OK);
  EXPECT_EQ(range16.mBuffer->GetBuffer()->GetElementSize(), 2u);
  EXPECT_EQ(mRender.GetIndexCache16()->Allocate(1025, &indices16, range16), VN_OK);
  unsigned* indices32 = nullptr;
  BufferRange<render::IndexBuffer<unsigned>> range32;
  ASSERT_EQ(mRender.GetIndexCache32()->Allocate(6, &indices32, range32), VN_OK);
  EXPECT_EQ(range32.mBuffer->GetBuffer()->GetElementSize(), 4u);
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
}

TEST(VertexCacheCreationTest, FailingBufferFailsTheStartUpWithoutLeaks) {
  for (int buffers : {0, 1, 3, 5, 7}) {
    SCOPED_TRACE(buffers);
    fakes::RecordingRender render;
    render.mBuffersBeforeFailure = buffers;
    EXPECT_EQ(render.Init(), VN_FAIL);
  }
}

}  // namespace
