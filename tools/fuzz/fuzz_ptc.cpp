// The particle effect reader and the runtime over untrusted bytes: open the text as an effect
// file, load every emitter, run each a little and tessellate it. The buffer is handed over with
// its exact size and no terminator, as the engine could.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Platform/Magic/Magic.h"
#include "Platform/Magic/Runtime.h"

namespace {

void WalkPtcFolder(magic::FileHandle file, std::vector<magic::EmitterHandle>& emitters, int depth) {
  magic::FindRecord record;
  std::vector<std::string> folders;
  for (const char* name = Magic_FindFirst(file, &record, 3); name; name = Magic_FindNext(file, &record)) {
    if (record.emitter) {
      emitters.push_back(Magic_LoadEmitter(file, name));
    } else {
      folders.push_back(name);
    }
  }
  for (const std::string& folder : folders) {
    if (depth < 20 && Magic_SetCurrentFolder(file, folder.c_str()) == 0) {
      WalkPtcFolder(file, emitters, depth + 1);
      Magic_SetCurrentFolder(file, "..");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  magic::Runtime runtime;
  magic::SetParticleLibrary(&runtime);
  // An exact-size copy: reading past it is caught by the address sanitizer.
  std::unique_ptr<char[]> text(new char[size ? size : 1]);
  for (std::size_t i = 0; i < size; ++i) text[i] = char(data[i]);
  const magic::FileHandle file = Magic_OpenFileInMemory(text.get(), uint32_t(size));
  if (file > 0) {
    magic::StaticAtlas atlas;
    for (int i = 0; i < Magic_GetStaticAtlasCount(file); ++i) Magic_GetStaticAtlas(file, i, &atlas);
    std::vector<magic::EmitterHandle> emitters;
    WalkPtcFolder(file, emitters, 0);
    for (magic::EmitterHandle e : emitters) {
      Magic_EmitterToInterval1(e, 1.0f, nullptr);
      for (int frame = 0; frame < 5; ++frame) Magic_Update(e, 50.0);
      magic::RenderedList list;
      magic::ParticleVertexes quad;
      for (Magic_CreateFirstRenderedParticlesList(e, &list); list.count; Magic_CreateNextRenderedParticlesList(&list)) {
        while (Magic_GetNextParticleVertexes(&quad) == 0) {
        }
      }
      Magic_UnloadEmitter(e);
    }
  }
  magic::SetParticleLibrary(nullptr);
  return 0;
}
