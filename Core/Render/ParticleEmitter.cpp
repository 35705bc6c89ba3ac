#include "Core/Render/ParticleEmitter.h"

#include "Core/Math/Box3.h"
#include "Core/Math/Color.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Render.h"
#include "Core/Render/ShaderTextured.h"
#include "Core/Render/Vertices.h"
#include "Platform/Magic/Magic.h"

namespace render {

namespace {

// The particle's colour times the context's, each channel the low byte of the truncated value.
uint32_t ParticleDiffuse(uint32_t argb, const math::Color& context) {
  const math::Color c(argb);
  auto channel = [](float value) { return uint32_t(int(value * 255.0f)) & 0xFF; };
  return channel(c.a * context.a) << 24 | channel(c.r * context.r) << 16 | channel(c.g * context.g) << 8 |
         channel(c.b * context.b);
}

void AddParticleBounds(math::Box3* box, const SVertex2D* vertices, unsigned count) {
  if (!box) return;
  for (unsigned i = 0; i < count; ++i) box->AddPoint(math::Point3(vertices[i].x, vertices[i].y, vertices[i].z));
}

}  // namespace

ParticleEmitter::ParticleEmitter(unsigned handle) : mHandle(handle) {}

ParticleEmitter::ParticleEmitter(const ParticleEmitter* prototype)
    : GraphicsFriend(*prototype),
      mHandle(Magic_DuplicateEmitter(prototype->mHandle)),
      mFileName(prototype->mFileName),
      mHasAtlas(prototype->mHasAtlas),
      mRestartRequested(prototype->mRestartRequested) {}

ParticleEmitter::~ParticleEmitter() { Magic_UnloadEmitter(mHandle); }

void ParticleEmitter::StartStep() {
  if (mRestartRequested) return;
  if (mState == kStopped || !Magic_InInterval(mHandle)) Magic_EmitterToInterval1(mHandle, 1.0f, nullptr);
}

void ParticleEmitter::SetState(int state) {
  if (state == mState) return;
  switch (state) {
    case kStopped:
      if (mState != kInterrupted) Magic_Stop(mHandle);
      break;
    case kPlaying:
      if (Magic_IsInterrupt(mHandle)) Magic_SetInterrupt(mHandle, false);
      StartStep();
      break;
    case kInterrupted:
      StartStep();
      Magic_SetInterrupt(mHandle, true);
      break;
    default:
      break;
  }
  mState = state;
}

void ParticleEmitter::Restart() {
  if (Magic_IsInterval1(mHandle)) {
    Magic_EmitterToInterval1(mHandle, 1.0f, nullptr);
  } else {
    Magic_Restart(mHandle);
  }
  mRestartRequested = false;
  if (mState == kPlaying) return;
  if (mState == kInterrupted) Magic_SetInterrupt(mHandle, false);
  StartStep();
  mState = kPlaying;
}

void ParticleEmitter::Update(double dt) {
  if (mState != kPlaying && mState != kInterrupted) return;
  if (mRestartRequested) Restart();
  const double step = Magic_IsInterpolationMode(mHandle) ? dt * 1000.0 : Magic_GetUpdateTime(mHandle);
  if (Magic_Update(mHandle, step)) return;
  if (mState == kPlaying) Magic_Stop(mHandle);
  mState = kStopped;
}

void ParticleEmitter::SetPosition(const math::Point2& point, int mode) {
  Magic_SetEmitterPositionMode(mHandle, mode);
  const magic::Position position{point.x, point.y};
  Magic_SetEmitterPosition(mHandle, &position);
}

math::Point2 ParticleEmitter::GetPosition() const {
  magic::Position position;
  Magic_GetEmitterPosition(mHandle, &position);
  return math::Point2(position.x, position.y);
}

void ParticleEmitter::SetDirection(float angle) { Magic_SetEmitterDirection(mHandle, &angle); }

void ParticleEmitter::SetLoopMode(int mode) { Magic_SetLoopMode(mHandle, mode == 1 || mode == 2 ? mode : 0); }

VNResultEnum ParticleEmitter::Draw(Graphics* graphics, DrawParam* request, ParticleDrawStatistics* statistics) {
  if (!graphics) return VN_FAIL;
  SetGraphics(graphics);
  ShaderTextured* shader = graphics->GetTexturedShader();
  if (!shader) return VN_FAIL;
  SetShader(shader->GetProgram());
  VNResultEnum result = SetProjection(shader);
  const int blendMode = graphics->GetState().mBlendMode;
  if (statistics) {
    if (statistics->mBefore) statistics->mBefore->Reset();
    if (statistics->mAfter) statistics->mAfter->Reset();
  }
  uint32_t total = 0;
  if (result == VN_OK && mState != kStopped && Magic_InInterval(mHandle))
    result = DrawLists(request, statistics, total);
  // Restored on every path: a failed list must not leave later sprites additive.
  graphics->SetBlendMode(blendMode);
  if (statistics) statistics->mCount = total & 0xFFFF;
  return result;
}

VNResultEnum ParticleEmitter::DrawLists(DrawParam* request, ParticleDrawStatistics* statistics, uint32_t& total) {
  ParticleSystem* system = ParticleSystem::Instance();
  ShaderTextured* shader = mGraphics->GetTexturedShader();
  const VertexFormat& format = SVertex2D::GetFormat();
  auto* vertexCache = static_cast<BufferDoubleCache<VertexBuffer<SVertex2D>>*>(mRender->GetVertexCache(format.GetId()));
  IndexCache16* indexCache = mRender->GetIndexCache16();
  if (!system || !vertexCache || !indexCache) return VN_FAIL;
  const math::Color& colour = mGraphics->GetColor();
  magic::RenderedList list;
  magic::ParticleVertexes particle;
  for (Magic_CreateFirstRenderedParticlesList(mHandle, &list); list.count != 0;
       Magic_CreateNextRenderedParticlesList(&list)) {
    const unsigned count = list.count;
    Image* atlas = system->GetAtlas(list.texture);
    if (!atlas) {
      // No image to draw with: the particles are read past and counted, not drawn.
      for (unsigned i = 0; i < count; ++i) Magic_GetNextParticleVertexes(&particle);
      total += count;
      continue;
    }
    mGraphics->SetBlendMode(list.intense ? DrawState::kBlendAdditive : DrawState::kBlendAlpha);
    shader->SetTexture(atlas->GetTexture());

    SVertex2D* vertices = nullptr;
    BufferRange<VertexBuffer<SVertex2D>> vertexRange;
    VNResultEnum result = vertexCache->Allocate(count * 4, &vertices, vertexRange);
    if (result != VN_OK) return result;
    unsigned short* indices = nullptr;
    BufferRange<IndexBuffer<unsigned short>> indexRange;
    result = indexCache->Allocate(count * 6, &indices, indexRange);
    if (result != VN_OK) return result;

    for (unsigned i = 0; i < count; ++i) {
      Magic_GetNextParticleVertexes(&particle);
      const uint32_t diffuse = ParticleDiffuse(particle.color, colour);
      SVertex2D* quad = vertices + i * 4;
      for (int k = 0; k < 4; ++k) {
        const magic::ParticleVertexes::Corner& corner = particle.corners[k];
        quad[k] = {corner.x, corner.y, 0.0f, 1.0f, diffuse, 0xFFFFFFFFu, corner.tu, corner.tv};
      }
      const auto b = static_cast<unsigned short>(vertexRange.mStart + i * 4);
      unsigned short* six = indices + i * 6;
      six[0] = b;
      six[1] = static_cast<unsigned short>(b + 1);
      six[2] = static_cast<unsigned short>(b + 2);
      six[3] = b;
      six[4] = static_cast<unsigned short>(b + 2);
      six[5] = static_cast<unsigned short>(b + 3);
    }

    const unsigned vertexCount = count * 4;
    AddParticleBounds(statistics ? statistics->mBefore : nullptr, vertices, vertexCount);
    if (request && (result = request->TransformVertices(vertices, format, vertexCount)) != VN_OK) return result;
    AddParticleBounds(statistics ? statistics->mAfter : nullptr, vertices, vertexCount);
    if ((result = TransformVertices(vertices, format, vertexCount)) != VN_OK) return result;
    ApplyHalfPixelOffset(vertices, format, vertexCount);
    SetVertexBuffer(vertexRange.mBuffer->GetImpl());
    SetIndexBuffer(indexRange.mBuffer->GetImpl());
    if ((result = ApplyState()) != VN_OK) return result;
    if ((result = mRender->DrawIndexed(Render::kTriangleList, indexRange.mStart, count * 2, vertexRange.mStart,
                                       vertexCount)) != VN_OK) {
      return result;
    }
    total += count;
  }
  return VN_OK;
}

}  // namespace render
