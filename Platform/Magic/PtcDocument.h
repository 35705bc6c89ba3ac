#pragma once
// The content of one .ptc effect file (format: PtcFormat.md) and its reader.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace magic {

// A value over a particle's life: keys at life fractions 0..1, linear between them.
struct LifeCurve {
  struct Key {
    float at;
    float value;
  };
  std::vector<Key> keys;  // ascending; empty = 1

  float At(float life) const;
};

struct ColorCurve {
  struct Key {
    float at;
    uint32_t rgb;  // 0xRRGGBB
  };
  std::vector<Key> keys;  // ascending; empty = white

  uint32_t At(float life) const;
};

// One kind of particle of an emitter.
struct ParticleKind {
  int atlas = 0;
  float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;  // the frame in the atlas, 0..1
  float aspect = 1.0f;                               // frame height / width
  bool additive = false;
  float rate = 10.0f;          // particles per second
  float life = 1000.0f;        // milliseconds
  float lifeVariation = 0.0f;  // +- milliseconds
  float speed = 0.0f;          // pixels per second
  float speedVariation = 0.0f;
  float spread = 0.0f;   // degrees, the whole cone around the direction
  float gravity = 0.0f;  // pixels per second squared, down the screen
  float area = 0.0f;     // birth radius in pixels
  float size = 16.0f;    // width in pixels
  float sizeVariation = 0.0f;
  float angle = 0.0f;  // degrees at birth
  float angleVariation = 0.0f;
  float spin = 0.0f;  // degrees per second
  LifeCurve scale;
  LifeCurve alpha;
  ColorCurve color;
};

struct EmitterDef {
  std::string name;
  float duration = 1000.0f;  // milliseconds of emission in one cycle
  float start = 0.0f;        // start of the active interval, milliseconds
  bool loop = false;
  float step = 1000.0f / 60.0f;  // fixed update, milliseconds
  bool interpolation = true;
  float direction = 90.0f;  // degrees, counter-clockwise on screen; 90 = up
  std::vector<ParticleKind> kinds;
};

struct FolderDef {
  struct Entry {
    bool folder;
    size_t index;  // into folders or emitters
  };
  std::string name;
  std::vector<Entry> entries;  // document order
  std::vector<std::unique_ptr<FolderDef>> folders;
  std::vector<std::shared_ptr<const EmitterDef>> emitters;
  FolderDef* parent = nullptr;

  const std::string& EntryName(size_t i) const;
};

struct AtlasDef {
  std::string file;
  int width = 0;
  int height = 0;
};

struct PtcDocument {
  std::string name;  // empty = none
  std::vector<AtlasDef> atlases;
  FolderDef root;
};

// Limits that keep a hostile file from exhausting memory or time.
constexpr int kPtcMaxAtlases = 64;
constexpr int kPtcMaxDepth = 16;
constexpr float kPtcMaxRate = 5000.0f;
constexpr float kPtcMaxLife = 60000.0f;
constexpr size_t kPtcMaxCurveKeys = 32;

// Null when the text is not an effect file. size bytes are read, no more.
std::unique_ptr<PtcDocument> ReadPtcDocument(const char* text, size_t size);

}  // namespace magic
