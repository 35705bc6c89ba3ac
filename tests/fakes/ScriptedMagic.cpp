#include "tests/fakes/ScriptedMagic.h"

#include <sstream>

namespace fakes {

namespace {

std::string MagicArgs(std::initializer_list<double> values) {
  std::ostringstream out;
  bool first = true;
  for (double v : values) {
    if (!first) out << ',';
    out << v;
    first = false;
  }
  return out.str();
}

}  // namespace

ScriptedMagic::ScriptedMagic() { magic::SetParticleLibrary(this); }

ScriptedMagic::~ScriptedMagic() { magic::SetParticleLibrary(nullptr); }

std::vector<std::string> ScriptedMagic::CallsOf(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls) {
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

long ScriptedMagic::Result(const std::string& name) {
  auto q = queued.find(name);
  if (q != queued.end() && !q->second.empty()) {
    const long value = q->second.front();
    q->second.pop_front();
    return value;
  }
  auto d = defaults.find(name);
  return d == defaults.end() ? 0 : d->second;
}

void ScriptedMagic::Record(const std::string& name, const std::string& arguments) {
  calls.push_back(name + "(" + arguments + ")");
}

magic::FileHandle ScriptedMagic::OpenFileInMemory(const char* buffer, uint32_t size) {
  openedText.assign(buffer ? buffer : "", buffer ? size : 0);
  openedTerminated = buffer && buffer[size] == '\0';
  Record("OpenFileInMemory", MagicArgs({double(size)}));
  return magic::FileHandle(Result("OpenFileInMemory"));
}

void ScriptedMagic::CloseFile(magic::FileHandle file) { Record("CloseFile", MagicArgs({double(file)})); }

const char* ScriptedMagic::GetFileName(magic::FileHandle file) {
  Record("GetFileName", MagicArgs({double(file)}));
  return fileName;
}

bool ScriptedMagic::HasTextures(magic::FileHandle file) {
  Record("HasTextures", MagicArgs({double(file)}));
  return !atlases.empty();
}

int ScriptedMagic::GetStaticAtlasCount(magic::FileHandle file) {
  Record("GetStaticAtlasCount", MagicArgs({double(file)}));
  return int(atlases.size());
}

int ScriptedMagic::GetStaticAtlas(magic::FileHandle file, int index, magic::StaticAtlas* atlas) {
  Record("GetStaticAtlas", MagicArgs({double(file), double(index)}));
  if (index < 0 || size_t(index) >= atlases.size()) return 1;
  atlas->file = atlases[size_t(index)].c_str();
  return 0;
}

int ScriptedMagic::SetCurrentFolder(magic::FileHandle file, const char* path) {
  Record("SetCurrentFolder", std::to_string(file) + "," + path);
  const std::string p = path;
  if (p.empty()) {
    mFolder.clear();
  } else if (p == "..") {
    const size_t slash = mFolder.rfind('/');
    mFolder = slash == std::string::npos ? std::string() : mFolder.substr(0, slash);
  } else {
    mFolder = mFolder.empty() ? p : mFolder + "/" + p;
  }
  return 0;
}

const char* ScriptedMagic::NextEntry(magic::FindRecord* record) {
  std::vector<Entry>& entries = folders[mFolder];
  size_t& next = mWalk[mFolder];
  if (next >= entries.size()) return nullptr;
  const Entry& entry = entries[next++];
  record->emitter = entry.emitter ? 1 : 0;
  return entry.name.c_str();
}

const char* ScriptedMagic::FindFirst(magic::FileHandle file, magic::FindRecord* record, int mode) {
  Record("FindFirst", MagicArgs({double(file), double(mode)}));
  mWalk[mFolder] = 0;
  return NextEntry(record);
}

const char* ScriptedMagic::FindNext(magic::FileHandle file, magic::FindRecord* record) {
  Record("FindNext", MagicArgs({double(file)}));
  return NextEntry(record);
}

magic::EmitterHandle ScriptedMagic::LoadEmitter(magic::FileHandle file, const char* name) {
  Record("LoadEmitter", std::to_string(file) + "," + mFolder + (mFolder.empty() ? "" : "/") + name);
  return ++mNextHandle;
}

magic::EmitterHandle ScriptedMagic::DuplicateEmitter(magic::EmitterHandle emitter) {
  Record("DuplicateEmitter", MagicArgs({double(emitter)}));
  return ++mNextHandle;
}

void ScriptedMagic::UnloadEmitter(magic::EmitterHandle emitter) {
  Record("UnloadEmitter", MagicArgs({double(emitter)}));
}

void ScriptedMagic::SetInterpolationMode(magic::EmitterHandle emitter, bool on) {
  Record("SetInterpolationMode", MagicArgs({double(emitter), double(on)}));
}

bool ScriptedMagic::IsInterpolationMode(magic::EmitterHandle emitter) {
  Record("IsInterpolationMode", MagicArgs({double(emitter)}));
  return Result("IsInterpolationMode") != 0;
}

void ScriptedMagic::SetLoopMode(magic::EmitterHandle emitter, int mode) {
  Record("SetLoopMode", MagicArgs({double(emitter), double(mode)}));
}

double ScriptedMagic::GetUpdateTime(magic::EmitterHandle emitter) {
  Record("GetUpdateTime", MagicArgs({double(emitter)}));
  return updateTime;
}

bool ScriptedMagic::Update(magic::EmitterHandle emitter, double milliseconds) {
  Record("Update", MagicArgs({double(emitter), milliseconds}));
  return Result("Update") != 0;
}

void ScriptedMagic::Stop(magic::EmitterHandle emitter) { Record("Stop", MagicArgs({double(emitter)})); }

void ScriptedMagic::Restart(magic::EmitterHandle emitter) { Record("Restart", MagicArgs({double(emitter)})); }

bool ScriptedMagic::IsInterrupt(magic::EmitterHandle emitter) {
  Record("IsInterrupt", MagicArgs({double(emitter)}));
  return Result("IsInterrupt") != 0;
}

void ScriptedMagic::SetInterrupt(magic::EmitterHandle emitter, bool interrupt) {
  Record("SetInterrupt", MagicArgs({double(emitter), double(interrupt)}));
}

bool ScriptedMagic::IsInterval1(magic::EmitterHandle emitter) {
  Record("IsInterval1", MagicArgs({double(emitter)}));
  return Result("IsInterval1") != 0;
}

bool ScriptedMagic::InInterval(magic::EmitterHandle emitter) {
  Record("InInterval", MagicArgs({double(emitter)}));
  return Result("InInterval") != 0;
}

void ScriptedMagic::EmitterToInterval1(magic::EmitterHandle emitter, float speed, const char* unused) {
  Record("EmitterToInterval1", MagicArgs({double(emitter), double(speed)}) + (unused ? ",file" : ",null"));
}

void ScriptedMagic::SetEmitterPositionMode(magic::EmitterHandle emitter, int mode) {
  Record("SetEmitterPositionMode", MagicArgs({double(emitter), double(mode)}));
}

void ScriptedMagic::SetEmitterPosition(magic::EmitterHandle emitter, const magic::Position* position) {
  Record("SetEmitterPosition", MagicArgs({double(emitter), position->x, position->y}));
  mPosition = *position;
}

void ScriptedMagic::GetEmitterPosition(magic::EmitterHandle emitter, magic::Position* position) {
  Record("GetEmitterPosition", MagicArgs({double(emitter)}));
  *position = mPosition;
}

void ScriptedMagic::SetEmitterDirection(magic::EmitterHandle emitter, const float* degrees) {
  Record("SetEmitterDirection", MagicArgs({double(emitter), double(*degrees)}));
}

void ScriptedMagic::FillList(magic::RenderedList* list) {
  mParticle = 0;
  *list = mList < lists.size() ? lists[mList].list : magic::RenderedList();
}

void ScriptedMagic::CreateFirstRenderedParticlesList(magic::EmitterHandle emitter, magic::RenderedList* list) {
  Record("CreateFirstRenderedParticlesList", MagicArgs({double(emitter)}));
  mList = 0;
  FillList(list);
}

void ScriptedMagic::CreateNextRenderedParticlesList(magic::RenderedList* list) {
  Record("CreateNextRenderedParticlesList", "");
  ++mList;
  FillList(list);
}

int ScriptedMagic::GetNextParticleVertexes(magic::ParticleVertexes* vertexes) {
  Record("GetNextParticleVertexes", "");
  if (mList >= lists.size() || mParticle >= lists[mList].particles.size()) return 1;
  *vertexes = lists[mList].particles[mParticle++];
  return 0;
}

void ScriptedMagic::SetRandomSeed(uint32_t seed) { Record("SetRandomSeed", MagicArgs({double(seed)})); }

}  // namespace fakes
