#include "Platform/Magic/EmitterInstance.h"

#include <algorithm>
#include <cmath>

namespace magic {

namespace {

constexpr float kEmitterDegrees = 3.14159265358979f / 180.0f;
// The most an update advances: a longer pause is not worth simulating step by step.
constexpr double kEmitterMaxUpdate = 60000.0;
// Steps of one update; a long update takes longer steps rather than more of them.
constexpr double kEmitterMaxSteps = 1000.0;

}  // namespace

EmitterInstance::EmitterInstance(std::shared_ptr<const EmitterDef> def, uint32_t seed)
    : mInterpolation(def->interpolation), mDef(std::move(def)), mSeed(seed), mRandom(seed) {
  mPending.assign(mDef->kinds.size(), 0.0f);
}

std::unique_ptr<EmitterInstance> EmitterInstance::Duplicate(uint32_t seed) const {
  auto copy = std::make_unique<EmitterInstance>(mDef, seed);
  copy->mInterpolation = mInterpolation;
  copy->mLoopMode = mLoopMode;
  copy->mPositionMode = mPositionMode;
  copy->mX = mX;
  copy->mY = mY;
  copy->mDirection = mDirection;
  return copy;
}

float EmitterInstance::Random() {
  // splitmix64: small, fast and the same on every platform.
  uint64_t z = (mRandom += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return float(z >> 40) / float(1u << 24);
}

bool EmitterInstance::Looping() const { return mLoopMode == kLoopForever || (mLoopMode == kLoopAsFile && mDef->loop); }

void EmitterInstance::Restart() {
  mParticles.clear();
  std::fill(mPending.begin(), mPending.end(), 0.0f);
  mTime = 0.0;
  mRandom = mSeed;
  mRunning = true;
  mEnded = false;
}

void EmitterInstance::ToIntervalStart(float speed) {
  Restart();
  if (!(speed > 0.0f) || !std::isfinite(speed)) speed = 1.0f;
  const float step = mDef->step * speed;
  while (mTime + 1e-6 < mDef->start) Step(float(std::min<double>(step, mDef->start - mTime)));
}

void EmitterInstance::Stop() {
  Restart();
  mRunning = false;
  mInterrupt = false;
}

bool EmitterInstance::Update(double milliseconds) {
  if (mEnded) return false;
  mRunning = true;
  double left = std::isfinite(milliseconds) ? std::clamp(milliseconds, 0.0, kEmitterMaxUpdate) : 0.0;
  const double step = std::max<double>(mDef->step, left / kEmitterMaxSteps);
  while (left > 0.0) {
    const float h = float(std::min<double>(left, step));
    Step(h);
    left -= h;
  }
  const bool emitting = !mInterrupt && (Looping() || mTime < mDef->duration);
  if (!emitting && mParticles.empty()) {
    mEnded = true;
    mRunning = false;
    return false;
  }
  return true;
}

void EmitterInstance::Step(float h) {
  const float seconds = h / 1000.0f;
  size_t kept = 0;
  for (Particle& p : mParticles) {
    p.age += h;
    if (p.age >= p.life) continue;
    const ParticleKind& kind = mDef->kinds[p.kind];
    p.vy += kind.gravity * seconds;
    p.x += p.vx * seconds;
    p.y += p.vy * seconds;
    p.angle += p.spin * seconds;
    mParticles[kept++] = p;
  }
  mParticles.resize(kept);

  const bool emitting = !mInterrupt && (Looping() || mTime < mDef->duration);
  if (emitting) {
    for (uint32_t k = 0; k < mDef->kinds.size(); ++k) Emit(k, h);
  }
  mTime += h;
  if (Looping() && mTime >= mDef->duration) {
    const double cycle = double(mDef->duration) - mDef->start;
    mTime = cycle > 0.0 ? mTime - cycle : double(mDef->start);
  }
}

void EmitterInstance::Emit(uint32_t kindIndex, float h) {
  const ParticleKind& kind = mDef->kinds[kindIndex];
  float& pending = mPending[kindIndex];
  pending += kind.rate * h / 1000.0f;
  while (pending >= 1.0f) {
    pending -= 1.0f;
    if (mParticles.size() >= kMaxEmitterParticles) continue;
    Particle p{};
    p.kind = kindIndex;
    const float around = Random() * 360.0f * kEmitterDegrees;
    const float radius = kind.area * std::sqrt(Random());
    p.x = std::cos(around) * radius;
    p.y = std::sin(around) * radius;
    p.ox = mX;
    p.oy = mY;
    const float direction = (mDef->direction + mDirection + Spread(kind.spread)) * kEmitterDegrees;
    const float speed = kind.speed + Spread(2.0f * kind.speedVariation);
    p.vx = std::cos(direction) * speed;
    p.vy = -std::sin(direction) * speed;  // counter-clockwise on a screen whose y runs down
    p.life = std::max(1.0f, kind.life + Spread(2.0f * kind.lifeVariation));
    p.size = std::max(0.0f, kind.size + Spread(2.0f * kind.sizeVariation));
    p.angle = kind.angle + Spread(2.0f * kind.angleVariation);
    p.spin = kind.spin;
    mParticles.push_back(p);
  }
}

void EmitterInstance::BuildLists(std::vector<List>& lists) const {
  lists.clear();
  // Groups of kinds that share an atlas and a blend, in the order of their first kind.
  std::vector<int> groupOfKind(mDef->kinds.size());
  std::vector<std::pair<uint32_t, bool>> groups;
  for (size_t k = 0; k < mDef->kinds.size(); ++k) {
    const std::pair<uint32_t, bool> key(uint32_t(mDef->kinds[k].atlas), mDef->kinds[k].additive);
    auto it = std::find(groups.begin(), groups.end(), key);
    groupOfKind[k] = int(it - groups.begin());
    if (it == groups.end()) groups.push_back(key);
  }
  for (size_t g = 0; g < groups.size(); ++g) {
    List* open = nullptr;
    for (uint32_t i = 0; i < mParticles.size(); ++i) {
      if (groupOfKind[mParticles[i].kind] != int(g)) continue;
      if (!open || open->particles.size() == kMaxListParticles) {
        lists.push_back({groups[g].first, groups[g].second, {}});
        open = &lists.back();
      }
      open->particles.push_back(i);
    }
  }
}

void EmitterInstance::Tessellate(uint32_t index, ParticleVertexes& out) const {
  const Particle& p = mParticles[index];
  const ParticleKind& kind = mDef->kinds[p.kind];
  const float life = std::clamp(p.age / p.life, 0.0f, 1.0f);
  const float halfW = 0.5f * p.size * kind.scale.At(life);
  const float halfH = halfW * kind.aspect;
  const float cx = (mPositionMode == kPositionFixed ? p.ox : mX) + p.x;
  const float cy = (mPositionMode == kPositionFixed ? p.oy : mY) + p.y;
  const float c = std::cos(p.angle * kEmitterDegrees);
  const float s = std::sin(p.angle * kEmitterDegrees);
  // Top-left, top-right, bottom-right, bottom-left: clockwise with y down, kept by the rotation.
  const float dx[4] = {-halfW, halfW, halfW, -halfW};
  const float dy[4] = {-halfH, -halfH, halfH, halfH};
  const float tu[4] = {kind.u0, kind.u1, kind.u1, kind.u0};
  const float tv[4] = {kind.v0, kind.v0, kind.v1, kind.v1};
  for (int i = 0; i < 4; ++i) {
    out.corners[i].x = cx + dx[i] * c + dy[i] * s;
    out.corners[i].y = cy - dx[i] * s + dy[i] * c;
    out.corners[i].tu = tu[i];
    out.corners[i].tv = tv[i];
  }
  const uint32_t alpha = uint32_t(std::clamp(kind.alpha.At(life), 0.0f, 1.0f) * 255.0f + 0.5f);
  out.color = alpha << 24 | kind.color.At(life);
}

}  // namespace magic
