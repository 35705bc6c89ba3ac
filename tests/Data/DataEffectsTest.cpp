// Every effect that the code or the sheets name comes from the particle file "ruv/fx/fx2.ptc".
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>
#include <set>

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "tests/Data/DataSources.h"
#include "tests/fakes/RecordingRender.h"

namespace datatest {
namespace {

// Effect names in the code: the narrow literals among the arguments of the calls that take an
// effect name, and in the constants and tables named after effects.
std::map<std::string, std::string> CodeEffects() {
  const std::regex call("(?:CreateEmitter|RuvEffect>?|RuvParticle>?|RuvBeamParticle>?|startMapEffect)\\s*\\(([^;]*?)\\)");
  const std::regex constant("\\bk\\w*(?:Effect|Shine)\\w*(?:\\[\\])?\\s*=\\s*([^;]*)");
  const std::regex literal("(?:^|[^A-Za-z0-9_])\"([A-Za-z][A-Za-z0-9_]*)\"");
  std::map<std::string, std::string> effects;  // name -> file naming it
  for (const CodeFile& file : GameCode()) {
    for (const std::regex* site : {&call, &constant}) {
      for (std::sregex_iterator it(file.text.begin(), file.text.end(), *site), end; it != end; ++it) {
        const std::string arguments = (*it)[1];
        for (std::sregex_iterator name(arguments.begin(), arguments.end(), literal); name != end; ++name) {
          effects.emplace((*name)[1], file.path);
        }
      }
    }
  }
  return effects;
}

// The ammunition sheet's effect columns, and those of any other sheet that has them.
std::map<std::string, std::string> SheetEffects() {
  std::map<std::string, std::string> effects;
  for (const char* sheet : {"ruv/units_sheet.csv", "ruv/towers_sheet.csv", "ruv/ammo_sheet.csv"}) {
    for (const auto& row : ReadSheet(sheet)) {
      for (const char* column : {"onFire", "onAmmo", "onHit"}) {
        const std::string name = Column(row, column);
        if (!name.empty()) effects.emplace(name, std::string(sheet) + " row " + Column(row, "id"));
      }
    }
  }
  return effects;
}

TEST(DataEffectsTest, EveryEffectTheCodeAndTheSheetsNameIsInTheParticleFile) {
  fakes::RecordingRender render;
  ASSERT_EQ(render.Init(), VN_OK);
  auto system = std::make_unique<render::ParticleSystem>();  // not the game's instance
  system->SetFolder((DataRoot() / "ruv/fx/").string());
  system->Load("fx2.ptc", &render);
  const std::map<std::string, std::string> code = CodeEffects();
  const std::map<std::string, std::string> sheets = SheetEffects();
  // The scan finds the effects of the map, the menus and the spells, and the sheets name shots.
  for (const char* known : {"active", "build", "upgrade", "fog_01", "blik_1", "portal_1", "t_line"}) {
    EXPECT_EQ(code.count(known), 1u) << known;
  }
  EXPECT_GE(sheets.size(), 4u);
  for (const auto* names : {&code, &sheets}) {
    for (const auto& [name, where] : *names) {
      std::unique_ptr<render::ParticleEmitter> emitter(system->CreateEmitter(name));
      EXPECT_NE(emitter, nullptr) << name << " (" << where << ")";
    }
  }
  system->ReleaseAtlases();
}

}  // namespace
}  // namespace datatest
