#pragma once
// The particle library: effect files in memory, emitters found by folder walk, simulated and cut
// into lists of textured quads. The calls are the engine's view of the library; they forward to the
// library in use (our runtime unless a test installed another, see ParticleLibrary.h).
// Main thread only.
#include <cstdint>

namespace magic {

// 0 = no file / no emitter; valid handles are greater than 0.
using FileHandle = int;
using EmitterHandle = unsigned;

// What kind of entries a folder walk returns (bits).
enum FindMode : int {
  kFindEmitters = 1,
  kFindFolders = 2,
};

// Position modes of an emitter (see PtcFormat.md).
enum PositionMode : int {
  kPositionFollow = 0,  // live particles move with the emitter
  kPositionFixed = 1,   // particles stay where they were born
};

// Loop modes given to an emitter.
enum LoopMode : int {
  kLoopAsFile = 0,  // the file's own loop flag
  kLoopForever = 1,
  kLoopOnce = 2,
};

// Filled by Magic_FindFirst / Magic_FindNext for the entry whose name they return.
struct FindRecord {
  uint32_t mode = 0;     // the mode of the walk
  uint32_t index = 0;    // position of the entry in its folder
  uint32_t emitter = 0;  // non-zero for an emitter, zero for a folder
};

// One atlas image of a file.
struct StaticAtlas {
  const char* file = nullptr;  // zero-terminated name, relative to the effect file's folder
  int width = 0;
  int height = 0;
};

// One rendered list: count particles of one atlas and one blend kind.
struct RenderedList {
  uint32_t count = 0;    // 0 = no more lists
  uint32_t texture = 0;  // index into the file's atlases
  uint8_t intense = 0;   // additive blending
};

// One particle as a quad: corners clockwise on screen (y down), design pixels.
struct ParticleVertexes {
  struct Corner {
    float x, y, tu, tv;
  } corners[4];
  uint32_t color = 0;  // 0xAARRGGBB
};

struct Position {
  float x = 0.0f;
  float y = 0.0f;
};

}  // namespace magic

// Files. The buffer is copied; size is its length in bytes (it need not be zero-terminated).
// 0 when the text is no effect file.
magic::FileHandle Magic_OpenFileInMemory(const char* buffer, uint32_t size);
void Magic_CloseFile(magic::FileHandle file);
// The file's own name (its "name" attribute), or null.
const char* Magic_GetFileName(magic::FileHandle file);
bool Magic_HasTextures(magic::FileHandle file);
int Magic_GetStaticAtlasCount(magic::FileHandle file);
// 0 on success, 1 for a bad file or index.
int Magic_GetStaticAtlas(magic::FileHandle file, int index, magic::StaticAtlas* atlas);

// Folder walk. "" is the root, ".." the parent, anything else a sub-folder of the current one.
int Magic_SetCurrentFolder(magic::FileHandle file, const char* path);
// Name of the first / next entry of the current folder (valid while the file is open), or null.
const char* Magic_FindFirst(magic::FileHandle file, magic::FindRecord* record, int mode);
const char* Magic_FindNext(magic::FileHandle file, magic::FindRecord* record);

// Emitters. A loaded emitter copies what it needs: it outlives its file.
magic::EmitterHandle Magic_LoadEmitter(magic::FileHandle file, const char* name);
magic::EmitterHandle Magic_DuplicateEmitter(magic::EmitterHandle emitter);
void Magic_UnloadEmitter(magic::EmitterHandle emitter);
void Magic_SetInterpolationMode(magic::EmitterHandle emitter, bool on);
bool Magic_IsInterpolationMode(magic::EmitterHandle emitter);
void Magic_SetLoopMode(magic::EmitterHandle emitter, int mode);
// Fixed step in milliseconds, for updates without interpolation.
double Magic_GetUpdateTime(magic::EmitterHandle emitter);
// Advances by milliseconds; false once the emitter has ended (nothing left to emit or show).
bool Magic_Update(magic::EmitterHandle emitter, double milliseconds);
void Magic_Stop(magic::EmitterHandle emitter);
void Magic_Restart(magic::EmitterHandle emitter);
bool Magic_IsInterrupt(magic::EmitterHandle emitter);
// Interrupted: no new particles; the live ones run out, then the update reports the end.
void Magic_SetInterrupt(magic::EmitterHandle emitter, bool interrupt);
// True when the emitter has a start of its active interval after time 0.
bool Magic_IsInterval1(magic::EmitterHandle emitter);
// True while the emitter runs inside its active interval (it then has something to show).
bool Magic_InInterval(magic::EmitterHandle emitter);
// Restarts and runs the emitter, at speed times its own pace, to the start of its active interval.
void Magic_EmitterToInterval1(magic::EmitterHandle emitter, float speed, const char* unused);
void Magic_SetEmitterPositionMode(magic::EmitterHandle emitter, int mode);
void Magic_SetEmitterPosition(magic::EmitterHandle emitter, const magic::Position* position);
void Magic_GetEmitterPosition(magic::EmitterHandle emitter, magic::Position* position);
// Degrees, counter-clockwise on screen, added to the file's emission direction.
void Magic_SetEmitterDirection(magic::EmitterHandle emitter, const float* degrees);

// Rendered lists: at most 170 particles each, grouped by atlas and blend kind. Creating the first
// list takes a picture of the emitter; the vertexes are read list by list, particle by particle.
void Magic_CreateFirstRenderedParticlesList(magic::EmitterHandle emitter, magic::RenderedList* list);
void Magic_CreateNextRenderedParticlesList(magic::RenderedList* list);
// 0 on success, 1 when the current list has no particle left.
int Magic_GetNextParticleVertexes(magic::ParticleVertexes* vertexes);

// Seed of the emitters loaded or duplicated from now on (each also mixes in its name and copy count).
void Magic_SetRandomSeed(uint32_t seed);
