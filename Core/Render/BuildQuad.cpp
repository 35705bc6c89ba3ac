#include "Core/Render/BuildQuad.h"

namespace render {

void BuildQuad(SVertex2D* v, unsigned short* indices, unsigned base, const math::Point4& tl, const math::Point4& br,
               const math::Point2& uv0, const math::Point2& uv1) {
  v[0].x = tl.x, v[0].y = tl.y, v[0].z = tl.z, v[0].w = tl.w, v[0].u = uv0.x, v[0].v = uv0.y;
  v[1].x = br.x, v[1].y = tl.y, v[1].z = tl.z, v[1].w = tl.w, v[1].u = uv1.x, v[1].v = uv0.y;
  v[2].x = br.x, v[2].y = br.y, v[2].z = br.z, v[2].w = br.w, v[2].u = uv1.x, v[2].v = uv1.y;
  v[3].x = tl.x, v[3].y = br.y, v[3].z = br.z, v[3].w = br.w, v[3].u = uv0.x, v[3].v = uv1.y;
  BuildQuadIndices(indices, base);
}

}  // namespace render
