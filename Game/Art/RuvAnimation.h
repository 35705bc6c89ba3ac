#pragma once
#include <string>
#include <vector>

#include "Core/Math/Point.h"
#include "Game/Art/RuvTracked.h"

namespace render {
class Graphics;
class ParticleEmitter;
}  // namespace render

class RuvArtSet;
class RuvFrameEntry;

// Plays one group of an art set at a fixed frame rate.
class RuvAnimation {
 public:
  // The set comes from RuvResources::getArtByPsd(psdPath). Pivot: the corner of the first
  // "s_point" frame, else (50, 30).
  RuvAnimation(const std::u16string& psdPath, const std::u16string& group);

  int frameCount();
  // Restarts at 0 once a whole run has passed (the overshoot is dropped).
  void update(float dt);
  // The frame of the current time, its transform set so that the pivot lands on (x, y) and the
  // frame turns by angle degrees about its centre; null without frames. The frame is shared:
  // draw it before the next call.
  RuvFrameEntry* currentFrame(float x, float y, float angle);
  // Draws the current frame centred through its transform, in the current colour.
  void draw(render::Graphics& graphics, float x, float y, float angle);

  RuvArtSet* artSet = nullptr;  // owned by RuvResources
  std::u16string group;
  float time = 0.0f;
  math::Point2 pivot;
  std::u16string psdPath;
  float fps = 30.0f;
};

// Whatever a sprite can follow (a unit): its current position in battle coordinates.
class RuvPositioned {
 public:
  virtual ~RuvPositioned() = default;
  virtual math::Point2 getPosition() const = 0;
};

// Base of the battle's transient sprites; a list deletes a sprite once it reports not visible.
class RuvSprite {
 public:
  virtual ~RuvSprite() = default;
  virtual bool isVisible() { return visible != 0; }
  virtual void draw(render::Graphics&) {}
  // Hands a copy of the current frame to a draw list that owns and deletes it after drawing.
  virtual void emit(std::vector<RuvFrameEntry*>&) {}
  virtual void update(float) {}

  int kind = -1;
  std::u16string name;
  float x = 0.0f;
  float y = 0.0f;
  unsigned char visible = 1;
  float unused = 0.0f;
  float time = 0.0f;  // seconds since the sprite started (after its delay)
};

// A sprite playing the empty group of an art set at 20 fps, once (then it ends) or looping. A
// delay holds it back: it is drawn only after the delay and its run starts then.
class RuvAnimatedSprite : public RuvSprite {
 public:
  explicit RuvAnimatedSprite(const std::u16string& artPath);
  ~RuvAnimatedSprite() override;
  RuvAnimatedSprite(const RuvAnimatedSprite&) = delete;
  RuvAnimatedSprite& operator=(const RuvAnimatedSprite&) = delete;

  // One run in seconds.
  float duration();
  void draw(render::Graphics& graphics) override;
  void emit(std::vector<RuvFrameEntry*>& drawList) override;
  void update(float dt) override;
  // Follows the unit from now on; a null unit is ignored.
  void setOwner(RuvPositioned* unit);

  RuvAnimation* animation;
  int loop = 0;
  float delay = 0.0f;
  RuvPositioned* owner = nullptr;
};

// Owns one particle emitter and advances it at an adjustable speed.
class RuvEffect : public RuvTracked {
 public:
  // No emitter when the particle system knows no effect of that name.
  explicit RuvEffect(const std::string& effectName);
  // A playing emitter is asked to let its particles end, then deleted.
  ~RuvEffect();
  RuvEffect(const RuvEffect&) = delete;
  RuvEffect& operator=(const RuvEffect&) = delete;

  void update(float dt);

  float speed = 1.0f;
  float elapsed = 0.0f;
  render::ParticleEmitter* emitter = nullptr;
};

// Lists of owned polymorphic objects (any sequence container of pointers).
// Updates from the front; an element that is then not visible is deleted and removed at once.
template <class List>
void updateSprites(List& list, float dt) {
  for (auto it = list.begin(); it != list.end();) {
    (*it)->update(dt);
    if ((*it)->isVisible()) {
      ++it;
    } else {
      delete *it;
      it = list.erase(it);
    }
  }
}

template <class List, class Graphics>
void drawSprites(List& list, Graphics& graphics) {
  for (auto* element : list) element->draw(graphics);
}

// Deletes and removes the first element equal to object; nothing when absent.
template <class List, class T>
void removeOwnedObject(List& list, T* object) {
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (*it == object) {
      delete *it;
      list.erase(it);
      return;
    }
  }
}

template <class List>
void deleteOwnedObjects(List& list) {
  for (auto* element : list) delete element;
  list.clear();
}

template <class List, class T>
void appendIfNotNull(List& list, T* object) {
  if (object) list.push_back(object);
}
