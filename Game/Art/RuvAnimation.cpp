#include "Game/Art/RuvAnimation.h"

#include <cmath>
#include <map>

#include "Core/Base/StringEncoding.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"

RuvAnimation::RuvAnimation(const std::u16string& path, const std::u16string& groupName)
    : artSet(RuvResources::Instance()->getArtByPsd(path)), group(groupName), pivot(50.0f, 30.0f), psdPath(path) {
  const auto marker = artSet->groups.find("s_point");
  if (marker != artSet->groups.end() && !marker->second.empty()) {
    pivot = math::Point2(marker->second.front()->rect[0], marker->second.front()->rect[1]);
  }
}

int RuvAnimation::frameCount() { return int(artSet->groups[base::ToNarrow(group, base::kEncodingUtf8)].size()); }

void RuvAnimation::update(float dt) {
  time += dt;
  if (time >= (1.0f / fps) * float(frameCount())) time = 0.0f;
}

RuvFrameEntry* RuvAnimation::currentFrame(float x, float y, float angle) {
  RuvArtSet::FrameList& frames = artSet->groups[base::ToNarrow(group, base::kEncodingUtf8)];
  if (frames.empty()) return nullptr;
  const unsigned k = unsigned(int(std::floor(fps * time))) % unsigned(frames.size());
  RuvFrameEntry* frame = frames[k];
  frame->transform.Reset();
  frame->transform.RotateDegrees(angle);
  frame->transform.Translate(frame->rect[0] + frame->rect[2] / 2 - pivot.x + x,
                             frame->rect[1] + frame->rect[3] / 2 - pivot.y + y);
  return frame;
}

void RuvAnimation::draw(render::Graphics& graphics, float x, float y, float angle) {
  RuvFrameEntry* frame = currentFrame(x, y, angle);
  if (!frame || !frame->image) return;
  auto request = graphics.DrawImage(frame->image);
  request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
  request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
  request.Transform(frame->transform);
}

RuvAnimatedSprite::RuvAnimatedSprite(const std::u16string& artPath)
    : animation(new RuvAnimation(artPath, std::u16string())) {
  animation->fps = 20.0f;
}

RuvAnimatedSprite::~RuvAnimatedSprite() { delete animation; }

float RuvAnimatedSprite::duration() { return float(animation->artSet->groups[""].size()) / animation->fps; }

void RuvAnimatedSprite::update(float dt) {
  delay -= dt;
  // The run starts when the delay has run out: only the part of dt after that counts.
  if (delay > 0.0f) return;
  const float run = std::fmin(dt, -delay);
  time += run;
  const int n = animation->frameCount();
  if (animation->fps * time > float(n - 1)) {
    if (loop) {
      time -= float(animation->frameCount()) / animation->fps;
      delay = 0.0f;
    } else {
      visible = 0;
    }
  }
  if (delay <= 0.0f) animation->update(run);
}

void RuvAnimatedSprite::draw(render::Graphics& graphics) {
  const float d = duration();
  if (double(d) - double(time) < 0.2) graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, (d - time) / 0.2f);
  if (delay < 0.0f) {
    const math::Point2 at = owner ? owner->getPosition() : math::Point2(x, y);
    animation->draw(graphics, at.x, at.y, 0.0f);
  }
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
}

void RuvAnimatedSprite::emit(std::vector<RuvFrameEntry*>& drawList) {
  RuvFrameEntry* frame = animation->currentFrame(x, y, 0.0f);
  if (!frame) return;
  RuvFrameEntry* copy = new RuvFrameEntry;
  *copy = *frame;
  copy->ownsImage = 0;
  drawList.push_back(copy);
}

void RuvAnimatedSprite::setOwner(RuvPositioned* unit) {
  if (unit) owner = unit;
}

RuvEffect::RuvEffect(const std::string& effectName)
    : emitter(render::ParticleSystem::Instance()->CreateEmitter(effectName)) {}

RuvEffect::~RuvEffect() {
  if (emitter && emitter->GetState() == 1) emitter->SetState(2);
  delete emitter;
}

void RuvEffect::update(float dt) {
  elapsed += speed * dt;
  if (emitter) emitter->Update(double(speed * dt));
}
