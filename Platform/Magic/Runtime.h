#pragma once
// Our particle runtime behind the Magic_* calls: open files, live emitters by handle, and the
// rendered-list cursor of the last tessellation.
#include <map>
#include <memory>
#include <vector>

#include "Platform/Magic/EmitterInstance.h"
#include "Platform/Magic/ParticleLibrary.h"
#include "Platform/Magic/PtcDocument.h"

namespace magic {

class Runtime : public ParticleLibrary {
 public:
  FileHandle OpenFileInMemory(const char* buffer, uint32_t size) override;
  void CloseFile(FileHandle file) override;
  const char* GetFileName(FileHandle file) override;
  bool HasTextures(FileHandle file) override;
  int GetStaticAtlasCount(FileHandle file) override;
  int GetStaticAtlas(FileHandle file, int index, StaticAtlas* atlas) override;
  int SetCurrentFolder(FileHandle file, const char* path) override;
  const char* FindFirst(FileHandle file, FindRecord* record, int mode) override;
  const char* FindNext(FileHandle file, FindRecord* record) override;

  EmitterHandle LoadEmitter(FileHandle file, const char* name) override;
  EmitterHandle DuplicateEmitter(EmitterHandle emitter) override;
  void UnloadEmitter(EmitterHandle emitter) override;
  void SetInterpolationMode(EmitterHandle emitter, bool on) override;
  bool IsInterpolationMode(EmitterHandle emitter) override;
  void SetLoopMode(EmitterHandle emitter, int mode) override;
  double GetUpdateTime(EmitterHandle emitter) override;
  bool Update(EmitterHandle emitter, double milliseconds) override;
  void Stop(EmitterHandle emitter) override;
  void Restart(EmitterHandle emitter) override;
  bool IsInterrupt(EmitterHandle emitter) override;
  void SetInterrupt(EmitterHandle emitter, bool interrupt) override;
  bool IsInterval1(EmitterHandle emitter) override;
  bool InInterval(EmitterHandle emitter) override;
  void EmitterToInterval1(EmitterHandle emitter, float speed, const char* unused) override;
  void SetEmitterPositionMode(EmitterHandle emitter, int mode) override;
  void SetEmitterPosition(EmitterHandle emitter, const Position* position) override;
  void GetEmitterPosition(EmitterHandle emitter, Position* position) override;
  void SetEmitterDirection(EmitterHandle emitter, const float* degrees) override;

  void CreateFirstRenderedParticlesList(EmitterHandle emitter, RenderedList* list) override;
  void CreateNextRenderedParticlesList(RenderedList* list) override;
  int GetNextParticleVertexes(ParticleVertexes* vertexes) override;

  void SetRandomSeed(uint32_t seed) override { mSeed = seed; }

  // Live emitters and open files (tests of the runtime).
  size_t EmitterCount() const { return mEmitters.size(); }
  size_t FileCount() const { return mFiles.size(); }

 private:
  struct FindCursor {
    int mode = 0;  // 0 = no walk
    size_t next = 0;
  };
  struct OpenFile {
    std::unique_ptr<PtcDocument> document;
    const FolderDef* folder = nullptr;  // the current folder
    // One walk per folder: a walk of a parent goes on after its sub-folders were walked.
    std::map<const FolderDef*, FindCursor> cursors;
  };

  OpenFile* FindFile(FileHandle file);
  EmitterInstance* FindEmitter(EmitterHandle emitter);
  EmitterHandle Add(std::unique_ptr<EmitterInstance> emitter);
  uint32_t SeedFor(const std::string& name, uint32_t copy) const;
  const char* FindFrom(OpenFile& file, FindRecord* record);
  void FillList(RenderedList* list);

  std::map<FileHandle, OpenFile> mFiles;
  std::map<EmitterHandle, std::unique_ptr<EmitterInstance>> mEmitters;
  FileHandle mNextFile = 1;
  EmitterHandle mNextEmitter = 1;
  uint32_t mSeed = 1;

  // The tessellation being read.
  EmitterHandle mListEmitter = 0;
  std::vector<EmitterInstance::List> mLists;
  size_t mList = 0;
  size_t mListParticle = 0;
};

}  // namespace magic
