// Every effect that the code or the sheets name comes from the particle file "ruv/fx/fx2.ptc".
#include <gtest/gtest.h>

#include <map>
#include <memory>
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
  std::map<std::string, std::string> effects;  // name -> file naming it
  const auto collect = [&effects](const std::string& text, const std::string& file) {
    for (const Literal& literal : Literals(text)) {
      if (literal.prefix.empty() && IsIdentifier(literal.value)) effects.emplace(literal.value, file);
    }
  };
  for (const CodeFile& file : GameCode()) {
    for (const char* taker : {"CreateEmitter", "RuvEffect", "RuvParticle", "RuvBeamParticle", "startMapEffect"}) {
      for (const std::string& arguments : CallArguments(file.text, taker)) collect(arguments, file.path);
    }
    // "kSomeEffects[] = {...};", "kSliderShine[] = "...";"
    for (std::size_t at = file.text.find(" k"); at != std::string::npos; at = file.text.find(" k", at + 1)) {
      std::size_t end = at + 1;
      while (end < file.text.size() && IsIdentifierChar(file.text[end])) ++end;
      const std::string name = file.text.substr(at + 1, end - at - 1);
      if (name.find("Effect") == std::string::npos && name.find("Shine") == std::string::npos) continue;
      const std::size_t equals = file.text.find_first_not_of(" []", end);
      if (equals == std::string::npos || file.text[equals] != '=' || file.text[equals + 1] == '=') continue;
      collect(file.text.substr(equals, file.text.find(';', equals) - equals), file.path);
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
