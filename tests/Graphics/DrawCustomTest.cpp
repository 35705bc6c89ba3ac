// Lines, filled rectangles and caller geometry.
#include <gtest/gtest.h>

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Render.h"
#include "tests/Graphics/DrawFrame.h"

namespace {

using render::SVertexGeom;

class DrawCustomTest : public testgraphics::DrawFrameTest {};

struct PrimitiveCase {
  const char* name;
  int type;
  unsigned vertices;
  unsigned primitives;
};

void PrintTo(const PrimitiveCase& c, std::ostream* os) { *os << c.name; }

class PrimitiveCountTest : public DrawCustomTest, public ::testing::WithParamInterface<PrimitiveCase> {};

TEST_P(PrimitiveCountTest, CountsPrimitivesByType) {
  const PrimitiveCase& c = GetParam();
  Frame([&](render::Graphics& g) {
    auto* cache = static_cast<render::BufferDoubleCache<render::VertexBuffer<SVertexGeom>>*>(
        mRender.GetVertexCache(SVertexGeom::GetFormat().GetId()));
    SVertexGeom* vertices = nullptr;
    render::BufferRange<render::VertexBuffer<SVertexGeom>> range;
    ASSERT_EQ(cache->Allocate(c.vertices, &vertices, range), VN_OK);
    for (unsigned i = 0; i < c.vertices; ++i) vertices[i] = {float(i), float(i * i), 7.0f, 0xFF00FF00};
    g.DrawCustom(c.type, vertices, range, g.GetGeomShader());
  });
  const auto draws = mRender.Arguments("Draw");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0][0], unsigned(c.type));
  EXPECT_EQ(draws[0][2], c.primitives);
}

const PrimitiveCase kPrimitiveCases[] = {
    {"Points", render::Render::kPointList, 5, 5},
    {"LineListOf2", render::Render::kLineList, 2, 1},
    {"LineStrip", render::Render::kLineStrip, 4, 3},
    {"TriangleList", render::Render::kTriangleList, 6, 2},
    {"TriangleStrip", render::Render::kTriangleStrip, 5, 3},
    {"TriangleFanOf6", render::Render::kTriangleFan, 6, 4},
};

INSTANTIATE_TEST_SUITE_P(Cases, PrimitiveCountTest, ::testing::ValuesIn(kPrimitiveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawCustomTest, LineHasTwoColouredShiftedVertices) {
  Frame([&](render::Graphics& g) {
    g.SetColorRGBA(1, 0, 0, 1);
    g.DrawLine({10, 20}, {30, 40});
  });
  const auto draws = mRender.Arguments("Draw");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0][0], unsigned(render::Render::kLineList));
  EXPECT_EQ(draws[0][2], 1u);
  const auto* v = static_cast<const SVertexGeom*>(mRender.GetBoundVertices()) + draws[0][1];
  EXPECT_FLOAT_EQ(v[0].x, 9.5f);
  EXPECT_FLOAT_EQ(v[0].y, 19.5f);
  EXPECT_FLOAT_EQ(v[1].x, 29.5f);
  EXPECT_FLOAT_EQ(v[1].y, 39.5f);
  EXPECT_EQ(v[0].diffuse, 0xFFFF0000u);
  EXPECT_EQ(v[1].diffuse, 0xFFFF0000u);
}

TEST_F(DrawCustomTest, FilledRectangleIsTwoIndexedTriangles) {
  Frame([&](render::Graphics& g) { g.FillRect({10, 20, 30, 40}); });
  const auto draws = mRender.Arguments("DrawIndexed");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0][0], unsigned(render::Render::kTriangleList));
  EXPECT_EQ(draws[0][3], 2u);
  EXPECT_EQ(draws[0][5], 4u);
  const std::vector<SVertexGeom> v = LastIndexedVertices<SVertexGeom>();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[0].x, 9.5f);
  EXPECT_FLOAT_EQ(v[1].x, 39.5f);
  EXPECT_FLOAT_EQ(v[2].y, 59.5f);
  EXPECT_FLOAT_EQ(v[3].x, 9.5f);
  const uint16_t* indices = mRender.GetBoundIndices() + draws[0][2];
  const unsigned s = draws[0][4];
  const std::vector<unsigned> expected = {s, s + 1, s + 2, s, s + 2, s + 3};
  EXPECT_EQ(std::vector<unsigned>(indices, indices + 6), expected);
}

}  // namespace
