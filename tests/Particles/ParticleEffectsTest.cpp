// The game's effect file as committed: every effect the game asks for, and a few of them drawn on
// the OpenGL device (Mesa's software rasteriser) at fixed times and seed, against the expected picture.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/RenderTarget.h"
#include "Platform/D3D9/GlReadback.h"
#include "Platform/Magic/Magic.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/GoldenImage.h"
#include "tests/fakes/RecordingRender.h"

namespace {

const std::string kGameFxFolder = std::string(QM_SOURCE_DIR) + "/data/ruv/fx/";

const char* const kGameEffects[] = {"active",   "active_btn", "build",  "upgrade", "damage_h",   "blik_1",
                                    "blik_2",   "blik_4",     "blik_6", "fog_01",  "active_lvl", "mg_00",
                                    "portal_1", "blow_bub",   "hammer", "t_line",  "tr1",        "bird"};

TEST(ParticleEffectsTest, EveryEffectOfTheGameComesFromTheCommittedFile) {
  fakes::RecordingRender render;
  ASSERT_EQ(render.Init(), VN_OK);
  Magic_SetRandomSeed(1);
  auto system = std::make_unique<render::ParticleSystem>();  // not the game's instance
  system->SetFolder(kGameFxFolder);
  system->Load("fx2.ptc", &render);
  ASSERT_EQ(system->GetAtlasCount(), 1u);
  EXPECT_NE(system->GetAtlas(0), nullptr);
  for (const char* name : kGameEffects) {
    std::unique_ptr<render::ParticleEmitter> emitter(system->CreateEmitter(name));
    ASSERT_NE(emitter, nullptr) << name;
    EXPECT_TRUE(emitter->HasAtlas()) << name;
    emitter->SetPosition({100, 100}, 1);
    emitter->SetState(1);
    for (int frame = 0; frame < 10; ++frame) emitter->Update(1.0 / 60.0);
    EXPECT_EQ(emitter->GetState(), 1) << name;  // every effect lasts longer than its first frames
    emitter->SetState(2);
    for (int frame = 0; frame < 60 * 60 && emitter->GetState() == 2; ++frame) emitter->Update(1.0 / 60.0);
    EXPECT_EQ(emitter->GetState(), 0) << name << " runs out once interrupted";
  }
  system->ReleaseAtlases();
}

const int kGoldenWidth = 256;
const int kGoldenHeight = 192;

struct GoldenEffect {
  const char* name;
  float x, y;
  double seconds;
};

TEST(ParticleGoldenTest, EffectsAtFixedTimesMatchTheExpectedPicture) {
  fakes::GlRenderWindow window(kGoldenWidth, kGoldenHeight);
  render::RenderDX9* gl = window.GetRender();
  ASSERT_NE(gl, nullptr);
  Magic_SetRandomSeed(2024);
  render::ParticleSystem* system = render::ParticleSystem::Instance();
  system->SetFolder(kGameFxFolder);
  system->Load("fx2.ptc", gl);
  system->SetFolder("");
  ASSERT_NE(system->GetAtlas(0), nullptr);

  const GoldenEffect effects[] = {
      {"active", 48, 56, 0.6},     {"fog_01", 128, 150, 1.0}, {"build", 200, 70, 0.25},
      {"portal_1", 200, 150, 0.8}, {"hammer", 60, 150, 0.1},  {"blow_bub", 128, 60, 0.3},
  };
  std::vector<std::unique_ptr<render::ParticleEmitter>> emitters;
  for (const GoldenEffect& e : effects) {
    emitters.emplace_back(system->CreateEmitter(e.name));
    ASSERT_NE(emitters.back(), nullptr) << e.name;
    emitters.back()->SetPosition({e.x, e.y}, 1);
    emitters.back()->SetState(1);
    for (double t = 0; t + 1e-9 < e.seconds; t += 0.02) emitters.back()->Update(0.02);
  }

  render::RenderTarget* target = nullptr;
  ASSERT_EQ(gl->CreateRenderTarget(kGoldenWidth, kGoldenHeight, &target, true), VN_OK);
  std::unique_ptr<render::RenderTarget> owned(target);
  {
    render::Graphics g(target);
    g.Clear(render::Render::kClearTarget, math::Color(0.1f, 0.12f, 0.2f, 1.0f), 1.0f, 0);
    for (auto& emitter : emitters) g.DrawParticles(emitter.get());
  }
  emitters.clear();
  system->ReleaseAtlases();

  std::vector<d3d9::DWORD> argb;
  auto* texture = static_cast<render::TextureDX9*>(target->GetTexture());
  ASSERT_EQ(d3d9::ReadSurfacePixels(texture->GetSurface(), argb), d3d9::D3D_OK);
  ASSERT_EQ(argb.size(), size_t(kGoldenWidth * kGoldenHeight));
  const fakes::RgbaImage picture = fakes::OpaqueFromArgb(kGoldenWidth, kGoldenHeight, argb);
  EXPECT_TRUE(fakes::MatchesGoldenPng(picture, std::string(QM_SOURCE_DIR) + "/tests/data/particles/golden_effects.png",
                                      24, 0.005));
}

}  // namespace
