#pragma once
#include <cstdint>
#include <string>

#include "Core/Base/Result.h"
#include "Core/Math/Point.h"
#include "Core/Render/GraphicsFriend.h"

namespace math {
struct Box3;
}

namespace render {

class DrawParam;
class Graphics;

// What a particle draw reports.
struct ParticleDrawStatistics {
  uint32_t mCount = 0;            // particles drawn, modulo 65536
  math::Box3* mBefore = nullptr;  // bounds before the outer request's transform, or null
  math::Box3* mAfter = nullptr;   // bounds after it, or null
};

// One instance of a particle effect: a library emitter with its play state. Made by
// ParticleSystem::CreateEmitter and owned by the caller; updated each frame, drawn through
// Graphics::DrawParticles.
class ParticleEmitter : public GraphicsFriend {
 public:
  enum State {
    kStopped = 0,
    kPlaying = 1,
    kInterrupted = 2,  // no new particles; returns to stopped when the last one is gone
  };

  // A prototype over a loaded library emitter (the particle system's).
  explicit ParticleEmitter(unsigned handle);
  // A new stopped instance of a prototype, with its own library emitter.
  explicit ParticleEmitter(const ParticleEmitter* prototype);
  ParticleEmitter(const ParticleEmitter&) = delete;
  ParticleEmitter& operator=(const ParticleEmitter&) = delete;
  ~ParticleEmitter();

  // 0 stop, 1 play, 2 let the live particles run out; the same state again does nothing.
  void SetState(int state);
  int GetState() const { return mState; }
  // From the start (of the active interval, where the emitter has one), playing.
  void Restart();
  // Seconds. Only while playing or interrupted; the state becomes 0 when the emitter ends.
  void Update(double dt);
  // Mode 1: particles stay where they were born; 0: they follow the emitter.
  void SetPosition(const math::Point2& point, int mode);
  math::Point2 GetPosition() const;
  // Degrees, added to the effect's own direction.
  void SetDirection(float angle);
  // 1 loop, 2 once, anything else: as the effect file says.
  void SetLoopMode(int mode);
  // Draws the particles with the context's colour and textured shader. The context's blend mode
  // is restored afterwards, also after a failure. request (or null) moves the vertices first.
  VNResultEnum Draw(Graphics* graphics, DrawParam* request, ParticleDrawStatistics* statistics);

  unsigned GetHandle() const { return mHandle; }
  const std::string& GetFileName() const { return mFileName; }
  bool HasAtlas() const { return mHasAtlas; }

 private:
  friend class ParticleSystem;

  // Runs the library emitter to its active interval unless it is there already.
  void StartStep();
  VNResultEnum DrawLists(DrawParam* request, ParticleDrawStatistics* statistics, uint32_t& total);

  unsigned mHandle;
  std::string mFileName;
  bool mHasAtlas = false;
  bool mRestartRequested = false;
  int mState = kStopped;
};

}  // namespace render
