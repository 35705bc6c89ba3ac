#include "Core/Render/ParticleSystem.h"

#include <memory>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/Stream.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/Render.h"
#include "Platform/Magic/Magic.h"

namespace render {

namespace {

// No effect file comes near this; a larger size is a broken or wrong file.
constexpr unsigned kMaxParticleFileSize = 64u << 20;

}  // namespace

ParticleSystem::~ParticleSystem() = default;

void ParticleSystem::Load(const std::string& name, Render* render) {
  file::FileManager* files = file::FileManager::Instance();
  if (!files) return;
  static const char16_t* const kExtensions[] = {u"", u".ptc"};
  const std::u16string path = base::ToWide(mFolder + name, base::kEncodingUtf8);
  std::unique_ptr<file::FileInfo> info(files->Open(path, kExtensions, 2, nullptr));
  std::unique_ptr<base::Stream> stream(info ? info->Open() : nullptr);
  if (!stream) {
    base::LogDataFileProblem(u"ParticleSystem", path, u"is missing: no particle effects");
    return;
  }
  const unsigned size = stream->GetSize();
  // The library gets the size and a terminator, so no reader can run past the text.
  std::unique_ptr<char[]> buffer(size <= kMaxParticleFileSize ? new char[size + 1] : nullptr);
  if (!buffer || stream->Read(buffer.get(), size) != size) {
    base::LogDataFileProblem(u"ParticleSystem", path, u"cannot be read: no particle effects");
    return;
  }
  buffer[size] = '\0';
  const magic::FileHandle file = Magic_OpenFileInMemory(buffer.get(), size);
  if (file <= 0) base::LogDataFileProblem(u"ParticleSystem", path, u"is damaged: no particle effects");
  LoadEmitters(file, render);
}

void ParticleSystem::LoadEmitters(int file, Render* render) {
  if (file <= 0) return;
  LoadFolder(file, "");
  const int count = Magic_GetStaticAtlasCount(file);
  for (int i = 0; i < count; ++i) {
    magic::StaticAtlas atlas;
    Magic_GetStaticAtlas(file, i, &atlas);
    const std::u16string path = base::ToWide(mFolder + (atlas.file ? atlas.file : ""), base::kEncodingRaw);
    Image* image = nullptr;
    if (!render || render->LoadImage(path, nullptr, &image, nullptr) != VN_OK) {
      image = nullptr;
      base::LogDataFileProblem(u"ParticleSystem", path, u"cannot be loaded: the effects drawn from it are left out");
    }
    mAtlases.push_back(image);  // null when it failed: its lists are not drawn
  }
}

void ParticleSystem::LoadFolder(int file, const std::string& path) {
  Magic_SetCurrentFolder(file, path.c_str());
  magic::FindRecord record;
  const char* entry = Magic_FindFirst(file, &record, magic::kFindEmitters | magic::kFindFolders);
  while (entry) {
    if (record.emitter != 0) {
      const unsigned handle = Magic_LoadEmitter(file, entry);
      if (handle != 0) {
        auto prototype = std::make_unique<ParticleEmitter>(handle);
        const char* fileName = Magic_GetFileName(file);
        if (fileName && Magic_HasTextures(file)) prototype->mFileName = fileName;
        ParticleEmitter* stored = (mPrototypes[entry] = std::move(prototype)).get();
        if (mInterpolation != 0) Magic_SetInterpolationMode(handle, mInterpolation == 1);
        Magic_SetLoopMode(handle, mLoopMode);
        stored->mHasAtlas = Magic_GetStaticAtlasCount(file) > 0;
      }
    } else {
      LoadFolder(file, entry);
    }
    entry = Magic_FindNext(file, &record);
  }
  Magic_SetCurrentFolder(file, "..");
}

ParticleEmitter* ParticleSystem::CreateEmitter(const std::string& name) {
  auto it = mPrototypes.find(name);
  return it == mPrototypes.end() ? nullptr : new ParticleEmitter(it->second.get());
}

void ParticleSystem::ReleaseAtlases() {
  for (Image* atlas : mAtlases) delete atlas;
  mAtlases.clear();
}

Image* ParticleSystem::GetAtlas(uint32_t index) const { return index < mAtlases.size() ? mAtlases[index] : nullptr; }

}  // namespace render
