#include "Game/Battle/RuvBulletList.h"

#include <algorithm>
#include <string>

#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Base/StringEncoding.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvModifier.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"

RuvBulletList::~RuvBulletList() = default;

void RuvBulletList::add(std::unique_ptr<RuvBullet> bullet) {
  const RuvProto* ammunition = bullet->ammo();
  RuvMap& map = bullet->getMap();
  if (ammunition && !ammunition->onFire.empty()) {
    auto effect = std::make_unique<RuvEffect>(base::ToNarrow(ammunition->onFire, base::kEncodingUtf8));
    if (effect->emitter) {
      effect->emitter->SetPosition(bullet->start, 0);
      effect->emitter->SetDirection(bullet->tower ? bullet->tower->currentAngle - 180.0f : 0.0f);
      effect->emitter->SetState(render::ParticleEmitter::kPlaying);
    }
    map.mOverlayEffects.push_back(std::move(effect));
  }
  if (ammunition && !ammunition->onAmmo.empty()) {
    std::u16string name = ammunition->onAmmo;
    if (name.back() == u'\r') name.pop_back();
    bullet->trail.reset(render::ParticleSystem::Instance()->CreateEmitter(base::ToNarrow(name, base::kEncodingUtf8)));
    if (bullet->trail) {
      bullet->trail->SetPosition(bullet->start, 0);
      bullet->trail->SetState(render::ParticleEmitter::kPlaying);
    }
  }
  bullets.push_back(std::move(bullet));
}

void RuvBulletList::update(float dt) {
  for (size_t i = 0; i < bullets.size(); ++i) bullets[i]->update(dt);
  for (size_t i = 0; i < bullets.size();) {
    RuvBullet& bullet = *bullets[i];
    if (bullet.alive) {
      ++i;
      continue;
    }
    if (bullet.tower && bullet.tower->state == RuvTower::kFlameInFlight) {
      bullet.tower->state = RuvTower::kIdle;
      bullet.tower->animationTime = 0.0f;
    }
    bullets.erase(bullets.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void RuvBulletList::forgetUnit(const RuvUnit* unit) {
  for (const std::unique_ptr<RuvBullet>& bullet : bullets) {
    if (bullet->target == unit) bullet->target = nullptr;
    bullet->hits.erase(std::remove(bullet->hits.begin(), bullet->hits.end(), unit), bullet->hits.end());
  }
}

void RuvBulletList::removeTowerBullets(RuvTower* tower) {
  bullets.erase(std::remove_if(bullets.begin(), bullets.end(),
                               [tower](const std::unique_ptr<RuvBullet>& bullet) { return bullet->tower == tower; }),
                bullets.end());
  RuvMap* map = tower->getMap();
  if (!map) return;
  for (const std::unique_ptr<RuvUnit>& unit : map->mWaves->units) {
    if (!unit->alive) continue;
    for (const auto& modifier : unit->modifiers) modifier->onSourceRemoved(tower);
  }
}

void RuvBulletList::draw(render::Graphics& graphics) {
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  for (const std::unique_ptr<RuvBullet>& bullet : bullets) {
    if (bullet->trail) graphics.DrawParticles(bullet->trail.get());
    const RuvProto* ammunition = bullet->tower ? bullet->ammo() : nullptr;
    RuvArtSet* art = ammunition ? ammunition->art : nullptr;
    if (!art) continue;
    if (!art->image) {
      if (bullet->flame) bullet->flame->draw(graphics, bullet->position.x, bullet->position.y, bullet->heading);
      continue;
    }
    graphics.SetBlendMode(1);
    auto request = graphics.DrawImage(art->image);
    request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
    request.Translate(bullet->position);
  }
}
