#include "Platform/Magic/Runtime.h"

#include <cstring>

namespace magic {

namespace {

// FNV-1a, to give emitters of different names different sequences under one seed.
uint32_t RuntimeNameHash(const std::string& name) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  return hash;
}

ParticleLibrary*& CurrentParticleLibrary() {
  static ParticleLibrary* current = nullptr;
  return current;
}

}  // namespace

Runtime::OpenFile* Runtime::FindFile(FileHandle file) {
  auto it = mFiles.find(file);
  return it == mFiles.end() ? nullptr : &it->second;
}

EmitterInstance* Runtime::FindEmitter(EmitterHandle emitter) {
  auto it = mEmitters.find(emitter);
  return it == mEmitters.end() ? nullptr : it->second.get();
}

EmitterHandle Runtime::Add(std::unique_ptr<EmitterInstance> emitter) {
  const EmitterHandle handle = mNextEmitter++;
  mEmitters.emplace(handle, std::move(emitter));
  return handle;
}

uint32_t Runtime::SeedFor(const std::string& name, uint32_t copy) const {
  return (mSeed * 0x9E3779B1u) ^ RuntimeNameHash(name) ^ (copy * 0x85EBCA6Bu);
}

FileHandle Runtime::OpenFileInMemory(const char* buffer, uint32_t size) {
  std::unique_ptr<PtcDocument> document = ReadPtcDocument(buffer, size);
  if (!document) return 0;
  const FileHandle handle = mNextFile++;
  OpenFile& file = mFiles[handle];
  file.document = std::move(document);
  file.folder = &file.document->root;
  return handle;
}

void Runtime::CloseFile(FileHandle file) { mFiles.erase(file); }

const char* Runtime::GetFileName(FileHandle file) {
  OpenFile* open = FindFile(file);
  return open && !open->document->name.empty() ? open->document->name.c_str() : nullptr;
}

bool Runtime::HasTextures(FileHandle file) { return GetStaticAtlasCount(file) > 0; }

int Runtime::GetStaticAtlasCount(FileHandle file) {
  OpenFile* open = FindFile(file);
  return open ? int(open->document->atlases.size()) : 0;
}

int Runtime::GetStaticAtlas(FileHandle file, int index, StaticAtlas* atlas) {
  OpenFile* open = FindFile(file);
  if (!open || !atlas || index < 0 || size_t(index) >= open->document->atlases.size()) return 1;
  const AtlasDef& def = open->document->atlases[size_t(index)];
  atlas->file = def.file.c_str();
  atlas->width = def.width;
  atlas->height = def.height;
  return 0;
}

int Runtime::SetCurrentFolder(FileHandle file, const char* path) {
  OpenFile* open = FindFile(file);
  if (!open || !path) return 1;
  if (!*path) {
    open->folder = &open->document->root;
    return 0;
  }
  if (std::strcmp(path, "..") == 0) {
    if (!open->folder->parent) return 1;
    open->folder = open->folder->parent;
    return 0;
  }
  for (const auto& sub : open->folder->folders) {
    if (sub->name == path) {
      open->folder = sub.get();
      return 0;
    }
  }
  return 1;
}

const char* Runtime::FindFirst(FileHandle file, FindRecord* record, int mode) {
  OpenFile* open = FindFile(file);
  if (!open || !record) return nullptr;
  open->cursors[open->folder] = FindCursor{mode, 0};
  return FindFrom(*open, record);
}

const char* Runtime::FindNext(FileHandle file, FindRecord* record) {
  OpenFile* open = FindFile(file);
  if (!open || !record) return nullptr;
  return FindFrom(*open, record);
}

const char* Runtime::FindFrom(OpenFile& file, FindRecord* record) {
  const FolderDef& folder = *file.folder;
  FindCursor& cursor = file.cursors[file.folder];
  while (cursor.mode != 0 && cursor.next < folder.entries.size()) {
    const size_t i = cursor.next++;
    const bool isFolder = folder.entries[i].folder;
    if (!(cursor.mode & (isFolder ? kFindFolders : kFindEmitters))) continue;
    record->mode = uint32_t(cursor.mode);
    record->index = uint32_t(i);
    record->emitter = isFolder ? 0 : 1;
    return folder.EntryName(i).c_str();
  }
  cursor.mode = 0;
  return nullptr;
}

EmitterHandle Runtime::LoadEmitter(FileHandle file, const char* name) {
  OpenFile* open = FindFile(file);
  if (!open || !name) return 0;
  // The last of the name in the current folder, as a walk of the folder would end with it.
  const FolderDef& folder = *open->folder;
  for (size_t i = folder.emitters.size(); i-- > 0;) {
    if (folder.emitters[i]->name == name) {
      return Add(std::make_unique<EmitterInstance>(folder.emitters[i], SeedFor(name, 0)));
    }
  }
  return 0;
}

EmitterHandle Runtime::DuplicateEmitter(EmitterHandle emitter) {
  EmitterInstance* source = FindEmitter(emitter);
  if (!source) return 0;
  return Add(source->Duplicate(SeedFor(source->Def().name, source->NextCopyIndex())));
}

void Runtime::UnloadEmitter(EmitterHandle emitter) {
  if (emitter == mListEmitter) {
    mListEmitter = 0;
    mLists.clear();
  }
  mEmitters.erase(emitter);
}

void Runtime::SetInterpolationMode(EmitterHandle emitter, bool on) {
  if (EmitterInstance* e = FindEmitter(emitter)) e->mInterpolation = on;
}

bool Runtime::IsInterpolationMode(EmitterHandle emitter) {
  EmitterInstance* e = FindEmitter(emitter);
  return e && e->mInterpolation;
}

void Runtime::SetLoopMode(EmitterHandle emitter, int mode) {
  if (EmitterInstance* e = FindEmitter(emitter)) {
    e->mLoopMode = mode == kLoopForever || mode == kLoopOnce ? mode : kLoopAsFile;
  }
}

double Runtime::GetUpdateTime(EmitterHandle emitter) {
  EmitterInstance* e = FindEmitter(emitter);
  return e ? e->Def().step : 0.0;
}

bool Runtime::Update(EmitterHandle emitter, double milliseconds) {
  EmitterInstance* e = FindEmitter(emitter);
  return e && e->Update(milliseconds);
}

void Runtime::Stop(EmitterHandle emitter) {
  if (EmitterInstance* e = FindEmitter(emitter)) e->Stop();
}

void Runtime::Restart(EmitterHandle emitter) {
  if (EmitterInstance* e = FindEmitter(emitter)) e->Restart();
}

bool Runtime::IsInterrupt(EmitterHandle emitter) {
  EmitterInstance* e = FindEmitter(emitter);
  return e && e->mInterrupt;
}

void Runtime::SetInterrupt(EmitterHandle emitter, bool interrupt) {
  if (EmitterInstance* e = FindEmitter(emitter)) e->mInterrupt = interrupt;
}

bool Runtime::IsInterval1(EmitterHandle emitter) {
  EmitterInstance* e = FindEmitter(emitter);
  return e && e->Def().start > 0.0f;
}

bool Runtime::InInterval(EmitterHandle emitter) {
  EmitterInstance* e = FindEmitter(emitter);
  return e && e->InInterval();
}

void Runtime::EmitterToInterval1(EmitterHandle emitter, float speed, const char*) {
  if (EmitterInstance* e = FindEmitter(emitter)) e->ToIntervalStart(speed);
}

void Runtime::SetEmitterPositionMode(EmitterHandle emitter, int mode) {
  if (EmitterInstance* e = FindEmitter(emitter)) e->mPositionMode = mode == kPositionFixed ? mode : kPositionFollow;
}

void Runtime::SetEmitterPosition(EmitterHandle emitter, const Position* position) {
  EmitterInstance* e = FindEmitter(emitter);
  if (!e || !position) return;
  e->mX = position->x;
  e->mY = position->y;
}

void Runtime::GetEmitterPosition(EmitterHandle emitter, Position* position) {
  EmitterInstance* e = FindEmitter(emitter);
  if (!position) return;
  position->x = e ? e->mX : 0.0f;
  position->y = e ? e->mY : 0.0f;
}

void Runtime::SetEmitterDirection(EmitterHandle emitter, const float* degrees) {
  EmitterInstance* e = FindEmitter(emitter);
  if (e && degrees) e->mDirection = *degrees;
}

void Runtime::FillList(RenderedList* list) {
  mListParticle = 0;
  if (mList >= mLists.size()) {
    *list = RenderedList();
    return;
  }
  list->count = uint32_t(mLists[mList].particles.size());
  list->texture = mLists[mList].texture;
  list->intense = mLists[mList].additive ? 1 : 0;
}

void Runtime::CreateFirstRenderedParticlesList(EmitterHandle emitter, RenderedList* list) {
  mLists.clear();
  mList = 0;
  mListEmitter = 0;
  EmitterInstance* e = FindEmitter(emitter);
  if (e) {
    mListEmitter = emitter;
    e->BuildLists(mLists);
  }
  if (list) FillList(list);
}

void Runtime::CreateNextRenderedParticlesList(RenderedList* list) {
  if (mList < mLists.size()) ++mList;
  if (list) FillList(list);
}

int Runtime::GetNextParticleVertexes(ParticleVertexes* vertexes) {
  EmitterInstance* e = FindEmitter(mListEmitter);
  if (!e || !vertexes || mList >= mLists.size() || mListParticle >= mLists[mList].particles.size()) return 1;
  const uint32_t particle = mLists[mList].particles[mListParticle++];
  if (particle >= e->ParticleCount()) return 1;
  e->Tessellate(particle, *vertexes);
  return 0;
}

ParticleLibrary& TheParticleLibrary() {
  // Never destroyed: singletons unload their emitters during the exit handlers.
  static Runtime* runtime = new Runtime;
  ParticleLibrary* current = CurrentParticleLibrary();
  return current ? *current : *runtime;
}

void SetParticleLibrary(ParticleLibrary* library) { CurrentParticleLibrary() = library; }

}  // namespace magic
