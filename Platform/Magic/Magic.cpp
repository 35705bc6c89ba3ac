#include "Platform/Magic/Magic.h"

#include "Platform/Magic/ParticleLibrary.h"

// Each call forwards to the library in use.

magic::FileHandle Magic_OpenFileInMemory(const char* buffer, uint32_t size) {
  return magic::TheParticleLibrary().OpenFileInMemory(buffer, size);
}
void Magic_CloseFile(magic::FileHandle file) { magic::TheParticleLibrary().CloseFile(file); }
bool Magic_HasTextures(magic::FileHandle file) { return magic::TheParticleLibrary().HasTextures(file); }
int Magic_GetStaticAtlasCount(magic::FileHandle file) { return magic::TheParticleLibrary().GetStaticAtlasCount(file); }
int Magic_GetStaticAtlas(magic::FileHandle file, int index, magic::StaticAtlas* atlas) {
  return magic::TheParticleLibrary().GetStaticAtlas(file, index, atlas);
}
int Magic_SetCurrentFolder(magic::FileHandle file, const char* path) {
  return magic::TheParticleLibrary().SetCurrentFolder(file, path);
}
magic::EmitterHandle Magic_LoadEmitter(magic::FileHandle file, const char* name) {
  return magic::TheParticleLibrary().LoadEmitter(file, name);
}
magic::EmitterHandle Magic_DuplicateEmitter(magic::EmitterHandle emitter) {
  return magic::TheParticleLibrary().DuplicateEmitter(emitter);
}
void Magic_UnloadEmitter(magic::EmitterHandle emitter) { magic::TheParticleLibrary().UnloadEmitter(emitter); }
void Magic_SetInterpolationMode(magic::EmitterHandle emitter, bool on) {
  magic::TheParticleLibrary().SetInterpolationMode(emitter, on);
}
bool Magic_IsInterpolationMode(magic::EmitterHandle emitter) {
  return magic::TheParticleLibrary().IsInterpolationMode(emitter);
}
void Magic_SetLoopMode(magic::EmitterHandle emitter, int mode) {
  magic::TheParticleLibrary().SetLoopMode(emitter, mode);
}
double Magic_GetUpdateTime(magic::EmitterHandle emitter) { return magic::TheParticleLibrary().GetUpdateTime(emitter); }
bool Magic_Update(magic::EmitterHandle emitter, double milliseconds) {
  return magic::TheParticleLibrary().Update(emitter, milliseconds);
}
void Magic_Stop(magic::EmitterHandle emitter) { magic::TheParticleLibrary().Stop(emitter); }
void Magic_Restart(magic::EmitterHandle emitter) { magic::TheParticleLibrary().Restart(emitter); }
bool Magic_IsInterrupt(magic::EmitterHandle emitter) { return magic::TheParticleLibrary().IsInterrupt(emitter); }
void Magic_SetInterrupt(magic::EmitterHandle emitter, bool interrupt) {
  magic::TheParticleLibrary().SetInterrupt(emitter, interrupt);
}
bool Magic_IsInterval1(magic::EmitterHandle emitter) { return magic::TheParticleLibrary().IsInterval1(emitter); }
bool Magic_InInterval(magic::EmitterHandle emitter) { return magic::TheParticleLibrary().InInterval(emitter); }
void Magic_EmitterToInterval1(magic::EmitterHandle emitter, float speed, const char* unused) {
  magic::TheParticleLibrary().EmitterToInterval1(emitter, speed, unused);
}
void Magic_SetEmitterPositionMode(magic::EmitterHandle emitter, int mode) {
  magic::TheParticleLibrary().SetEmitterPositionMode(emitter, mode);
}
void Magic_SetEmitterPosition(magic::EmitterHandle emitter, const magic::Position* position) {
  magic::TheParticleLibrary().SetEmitterPosition(emitter, position);
}
void Magic_GetEmitterPosition(magic::EmitterHandle emitter, magic::Position* position) {
  magic::TheParticleLibrary().GetEmitterPosition(emitter, position);
}
void Magic_SetEmitterDirection(magic::EmitterHandle emitter, const float* degrees) {
  magic::TheParticleLibrary().SetEmitterDirection(emitter, degrees);
}
void Magic_CreateFirstRenderedParticlesList(magic::EmitterHandle emitter, magic::RenderedList* list) {
  magic::TheParticleLibrary().CreateFirstRenderedParticlesList(emitter, list);
}
void Magic_CreateNextRenderedParticlesList(magic::RenderedList* list) {
  magic::TheParticleLibrary().CreateNextRenderedParticlesList(list);
}
int Magic_GetNextParticleVertexes(magic::ParticleVertexes* vertexes) {
  return magic::TheParticleLibrary().GetNextParticleVertexes(vertexes);
}
void Magic_SetRandomSeed(uint32_t seed) { magic::TheParticleLibrary().SetRandomSeed(seed); }
const char* Magic_GetFileName(magic::FileHandle file) { return magic::TheParticleLibrary().GetFileName(file); }
const char* Magic_FindFirst(magic::FileHandle file, magic::FindRecord* record, int mode) {
  return magic::TheParticleLibrary().FindFirst(file, record, mode);
}
const char* Magic_FindNext(magic::FileHandle file, magic::FindRecord* record) {
  return magic::TheParticleLibrary().FindNext(file, record);
}
