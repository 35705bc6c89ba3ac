#pragma once
// A particle library for unit tests: records every call as "Name(arg,...)" and answers from a
// script (results by call name, a folder tree, atlases, rendered lists). Installs itself for its
// lifetime.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "Platform/Magic/ParticleLibrary.h"

namespace fakes {

class ScriptedMagic : public magic::ParticleLibrary {
 public:
  struct Entry {
    std::string name;
    bool emitter;
  };
  struct List {
    magic::RenderedList list;
    std::vector<magic::ParticleVertexes> particles;
  };

  ScriptedMagic();
  ~ScriptedMagic() override;

  // Calls made so far, in order.
  std::vector<std::string> calls;
  // The calls whose name begins with prefix.
  std::vector<std::string> CallsOf(const std::string& prefix) const;

  // Result of the call of that name: the queued values first, then the default (0 when none).
  std::map<std::string, std::deque<long>> queued;
  std::map<std::string, long> defaults;
  double updateTime = 20.0;
  // Folder path ("" root, "a/b" nested) -> its entries in walk order.
  std::map<std::string, std::vector<Entry>> folders;
  const char* fileName = nullptr;
  std::vector<std::string> atlases;
  // Rendered lists handed out from CreateFirstRenderedParticlesList on.
  std::vector<List> lists;
  // The buffer OpenFileInMemory received, copied by its size.
  std::string openedText;
  bool openedTerminated = false;  // a zero byte followed the text

  magic::FileHandle OpenFileInMemory(const char* buffer, uint32_t size) override;
  void CloseFile(magic::FileHandle file) override;
  const char* GetFileName(magic::FileHandle file) override;
  bool HasTextures(magic::FileHandle file) override;
  int GetStaticAtlasCount(magic::FileHandle file) override;
  int GetStaticAtlas(magic::FileHandle file, int index, magic::StaticAtlas* atlas) override;
  int SetCurrentFolder(magic::FileHandle file, const char* path) override;
  const char* FindFirst(magic::FileHandle file, magic::FindRecord* record, int mode) override;
  const char* FindNext(magic::FileHandle file, magic::FindRecord* record) override;

  magic::EmitterHandle LoadEmitter(magic::FileHandle file, const char* name) override;
  magic::EmitterHandle DuplicateEmitter(magic::EmitterHandle emitter) override;
  void UnloadEmitter(magic::EmitterHandle emitter) override;
  void SetInterpolationMode(magic::EmitterHandle emitter, bool on) override;
  bool IsInterpolationMode(magic::EmitterHandle emitter) override;
  void SetLoopMode(magic::EmitterHandle emitter, int mode) override;
  double GetUpdateTime(magic::EmitterHandle emitter) override;
  bool Update(magic::EmitterHandle emitter, double milliseconds) override;
  void Stop(magic::EmitterHandle emitter) override;
  void Restart(magic::EmitterHandle emitter) override;
  bool IsInterrupt(magic::EmitterHandle emitter) override;
  void SetInterrupt(magic::EmitterHandle emitter, bool interrupt) override;
  bool IsInterval1(magic::EmitterHandle emitter) override;
  bool InInterval(magic::EmitterHandle emitter) override;
  void EmitterToInterval1(magic::EmitterHandle emitter, float speed, const char* unused) override;
  void SetEmitterPositionMode(magic::EmitterHandle emitter, int mode) override;
  void SetEmitterPosition(magic::EmitterHandle emitter, const magic::Position* position) override;
  void GetEmitterPosition(magic::EmitterHandle emitter, magic::Position* position) override;
  void SetEmitterDirection(magic::EmitterHandle emitter, const float* degrees) override;
  void CreateFirstRenderedParticlesList(magic::EmitterHandle emitter, magic::RenderedList* list) override;
  void CreateNextRenderedParticlesList(magic::RenderedList* list) override;
  int GetNextParticleVertexes(magic::ParticleVertexes* vertexes) override;
  void SetRandomSeed(uint32_t seed) override;

 private:
  long Result(const std::string& name);
  void Record(const std::string& name, const std::string& arguments);
  const char* NextEntry(magic::FindRecord* record);
  void FillList(magic::RenderedList* list);

  std::string mFolder;
  std::map<std::string, size_t> mWalk;  // next entry of each folder's walk
  magic::EmitterHandle mNextHandle = 100;
  size_t mList = 0;
  size_t mParticle = 0;
  magic::Position mPosition;
};

}  // namespace fakes
