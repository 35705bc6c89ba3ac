#pragma once
// One live emitter of our runtime: its timeline, its particles and their tessellation.
#include <cstdint>
#include <memory>
#include <vector>

#include "Platform/Magic/Magic.h"
#include "Platform/Magic/PtcDocument.h"

namespace magic {

constexpr uint32_t kMaxListParticles = 170;
// Live particles of one emitter; births beyond it are dropped.
constexpr size_t kMaxEmitterParticles = 20000;

class EmitterInstance {
 public:
  EmitterInstance(std::shared_ptr<const EmitterDef> def, uint32_t seed);
  // A copy of the settings (not of the particles or timeline), with its own seed.
  std::unique_ptr<EmitterInstance> Duplicate(uint32_t seed) const;

  const EmitterDef& Def() const { return *mDef; }
  // Copies made of this one so far (mixed into their seeds).
  uint32_t NextCopyIndex() { return ++mCopies; }

  // Timeline and particles back to time 0, the random sequence to its seed; the emitter runs.
  void Restart();
  // Restart, then run to the start of the active interval.
  void ToIntervalStart(float speed);
  // Clears everything; the emitter shows nothing until it is started again.
  void Stop();
  bool Update(double milliseconds);
  bool InInterval() const { return mRunning && mTime >= mDef->start; }

  bool mInterpolation;
  int mLoopMode = kLoopAsFile;
  bool mInterrupt = false;
  int mPositionMode = kPositionFollow;
  float mX = 0.0f, mY = 0.0f;
  float mDirection = 0.0f;

  // Tessellation: the lists of the current picture.
  struct List {
    uint32_t texture;
    bool additive;
    std::vector<uint32_t> particles;  // indices into the picture's particles
  };
  void BuildLists(std::vector<List>& lists) const;
  void Tessellate(uint32_t particle, ParticleVertexes& out) const;

  size_t ParticleCount() const { return mParticles.size(); }

 private:
  struct Particle {
    uint32_t kind;
    float x, y;    // relative to the origin
    float ox, oy;  // the emitter's position at birth
    float vx, vy;
    float age, life;  // milliseconds
    float size, angle, spin;
  };

  bool Looping() const;
  // One simulation step of h milliseconds.
  void Step(float h);
  void Emit(uint32_t kindIndex, float h);
  float Random();  // [0, 1)
  float Spread(float range) { return (Random() - 0.5f) * range; }

  std::shared_ptr<const EmitterDef> mDef;
  uint32_t mSeed;
  uint64_t mRandom;
  uint32_t mCopies = 0;
  bool mRunning = false;
  bool mEnded = false;
  double mTime = 0.0;
  std::vector<float> mPending;  // fractional births per kind
  std::vector<Particle> mParticles;
};

}  // namespace magic
