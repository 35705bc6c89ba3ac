#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Singletone.h"

namespace render {

class Image;
class ParticleEmitter;
class Render;

// Loads particle effect files and makes emitter instances from their prototypes, one per emitter
// name. Holds the atlas images of the loaded file. Created on first use.
class ParticleSystem : public base::Singletone<ParticleSystem> {
 public:
  ParticleSystem() = default;
  // Unloads the prototypes. The atlases must have been released (ReleaseAtlases) while the
  // renderer was alive.
  ~ParticleSystem() override;

  // Prefix of every effect and atlas path.
  void SetFolder(const std::string& folder) { mFolder = folder; }
  const std::string& GetFolder() const { return mFolder; }

  // Loads folder + name (also tried with ".ptc"); a missing or broken file loads nothing.
  void Load(const std::string& name, Render* render);
  // A new stopped instance (the caller's) of the prototype with exactly that name, or null.
  ParticleEmitter* CreateEmitter(const std::string& name);
  // Deletes the atlas images.
  void ReleaseAtlases();

  // Atlas index of the loaded file, null when missing or not loaded.
  Image* GetAtlas(uint32_t index) const;
  size_t GetAtlasCount() const { return mAtlases.size(); }
  size_t GetPrototypeCount() const { return mPrototypes.size(); }

  // 0 keep each emitter's interpolation, 1 switch it on, other values switch it off.
  int mInterpolation = 1;
  // Given to every loaded emitter (see ParticleEmitter::SetLoopMode).
  int mLoopMode = 0;

 private:
  void LoadEmitters(int file, Render* render);
  void LoadFolder(int file, const std::string& path);

  std::string mFolder;
  std::map<std::string, std::unique_ptr<ParticleEmitter>> mPrototypes;
  std::vector<Image*> mAtlases;
};

}  // namespace render
