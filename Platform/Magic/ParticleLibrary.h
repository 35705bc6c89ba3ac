#pragma once
// The implementations behind the Magic_* calls: our runtime, or a scripted one in tests. Each
// method is the call of the same name in Magic.h.
#include "Platform/Magic/Magic.h"

namespace magic {

class ParticleLibrary {
 public:
  virtual ~ParticleLibrary() = default;

  virtual FileHandle OpenFileInMemory(const char* buffer, uint32_t size) = 0;
  virtual void CloseFile(FileHandle file) = 0;
  virtual const char* GetFileName(FileHandle file) = 0;
  virtual bool HasTextures(FileHandle file) = 0;
  virtual int GetStaticAtlasCount(FileHandle file) = 0;
  virtual int GetStaticAtlas(FileHandle file, int index, StaticAtlas* atlas) = 0;
  virtual int SetCurrentFolder(FileHandle file, const char* path) = 0;
  virtual const char* FindFirst(FileHandle file, FindRecord* record, int mode) = 0;
  virtual const char* FindNext(FileHandle file, FindRecord* record) = 0;

  virtual EmitterHandle LoadEmitter(FileHandle file, const char* name) = 0;
  virtual EmitterHandle DuplicateEmitter(EmitterHandle emitter) = 0;
  virtual void UnloadEmitter(EmitterHandle emitter) = 0;
  virtual void SetInterpolationMode(EmitterHandle emitter, bool on) = 0;
  virtual bool IsInterpolationMode(EmitterHandle emitter) = 0;
  virtual void SetLoopMode(EmitterHandle emitter, int mode) = 0;
  virtual double GetUpdateTime(EmitterHandle emitter) = 0;
  virtual bool Update(EmitterHandle emitter, double milliseconds) = 0;
  virtual void Stop(EmitterHandle emitter) = 0;
  virtual void Restart(EmitterHandle emitter) = 0;
  virtual bool IsInterrupt(EmitterHandle emitter) = 0;
  virtual void SetInterrupt(EmitterHandle emitter, bool interrupt) = 0;
  virtual bool IsInterval1(EmitterHandle emitter) = 0;
  virtual bool InInterval(EmitterHandle emitter) = 0;
  virtual void EmitterToInterval1(EmitterHandle emitter, float speed, const char* unused) = 0;
  virtual void SetEmitterPositionMode(EmitterHandle emitter, int mode) = 0;
  virtual void SetEmitterPosition(EmitterHandle emitter, const Position* position) = 0;
  virtual void GetEmitterPosition(EmitterHandle emitter, Position* position) = 0;
  virtual void SetEmitterDirection(EmitterHandle emitter, const float* degrees) = 0;

  virtual void CreateFirstRenderedParticlesList(EmitterHandle emitter, RenderedList* list) = 0;
  virtual void CreateNextRenderedParticlesList(RenderedList* list) = 0;
  virtual int GetNextParticleVertexes(ParticleVertexes* vertexes) = 0;

  virtual void SetRandomSeed(uint32_t seed) = 0;
};

// The library in use: our runtime unless one was set.
ParticleLibrary& TheParticleLibrary();
// Replaces the library (tests); null goes back to the runtime.
void SetParticleLibrary(ParticleLibrary* library);

}  // namespace magic
