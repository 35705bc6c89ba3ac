// One frame of the map: the battle scene sorted by depth with its overlays and texts, then what is
// drawn in every state (pop-ups, sprites, particles, the HUD's two layers, the radial menu,
// emitters). Also the cached image of the roads.
#include "Game/BattleView/RuvMapDraw.h"

#include <algorithm>
#include <cmath>

#include "Core/App/Application.h"
#include "Core/Base/FormatSpec.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Math/Transform3D.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameApplication.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Art/TMobShader.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvGeometry.h"
#include "Game/Art/RuvPopupList.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvModifier.h"
#include "Game/Battle/RuvParticle.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"

namespace {

constexpr int kDrawBlendAlpha = 1;
constexpr int kDrawBlendAdditive = 2;
constexpr float kDrawDegrees = 3.14f / 180.0f;
constexpr float kDrawRadiusImageSize = RuvMap::kArtRadiusDiameter;
constexpr float kDrawRoadStamp = 25.0f;
constexpr float kDrawDesignWidth = 1024.0f;
constexpr float kDrawDesignHeight = 768.0f;

// Installs the map's view as the context's transform for its lifetime.
class MapDrawCamera {
 public:
  MapDrawCamera(render::Graphics& graphics, const RuvMap& map) : mGraphics(graphics), mPrevious(graphics.mTransform) {
    mCamera.Scale(math::Point3(map.mViewScale, map.mViewScale, 1.0f));
    mCamera.Translate(math::Point3(map.mViewX, map.mViewY, 0.0f));
    graphics.mTransform = &mCamera;
  }
  ~MapDrawCamera() { mGraphics.mTransform = mPrevious; }
  MapDrawCamera(const MapDrawCamera&) = delete;
  MapDrawCamera& operator=(const MapDrawCamera&) = delete;

 private:
  render::Graphics& mGraphics;
  math::Transform3D* mPrevious;
  math::Transform3D mCamera;
};

void drawCentredImage(render::Graphics& graphics, render::Image* image, const math::Transform2D& transform,
                      bool flipX = false) {
  if (!image) return;
  auto request = graphics.DrawImage(image);
  request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
  request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
  request->mFlipX = flipX;
  request.Transform(transform);
}

void drawSceneEntry(render::Graphics& graphics, const RuvFrameEntry& entry) {
  if (entry.emitter) {
    graphics.DrawParticles(entry.emitter);
    graphics.SetBlendMode(kDrawBlendAlpha);
    return;
  }
  if (!entry.image) return;
  graphics.SetColor(entry.colour);
  if (entry.shader) {
    graphics.SetShader(entry.shader);
    if (auto* mob = dynamic_cast<TMobShader*>(entry.shader); mob && mob->GetColor2()) {
      const math::Point4 wanted(entry.shaderValues[0], entry.shaderValues[1], entry.shaderValues[2],
                                entry.shaderValues[3]);
      const math::Point4& current = mob->GetColor2()->GetValue();
      if (current.x != wanted.x || current.y != wanted.y || current.z != wanted.z || current.w != wanted.w) {
        mob->GetColor2()->SetValue(wanted);
      }
    }
  } else {
    graphics.SetShaderMode(render::Graphics::kShaderMultiply);
  }
  if (entry.additive) graphics.SetBlendMode(kDrawBlendAdditive);
  drawCentredImage(graphics, entry.image, entry.transform, entry.flipX != 0);
  if (entry.additive) graphics.SetBlendMode(kDrawBlendAlpha);
}

// An entry the map makes for one frame; marked so that clearScene deletes it.
RuvFrameEntry* drawSceneRecord(const RuvMap& map) {
  auto* entry = new RuvFrameEntry;
  entry->owner = const_cast<RuvMap*>(&map);
  return entry;
}

// A copy of a frame that draws its image (not owned) centred on the frame's rectangle.
RuvFrameEntry* drawCopyAtCentre(const RuvMap& map, const RuvFrameEntry& frame) {
  RuvFrameEntry* copy = drawSceneRecord(map);
  const void* owner = copy->owner;
  *copy = frame;
  copy->owner = const_cast<void*>(owner);
  copy->ownsImage = 0;
  copy->transform.Reset();
  copy->transform.Translate(frame.rect[0] + frame.rect[2] / 2.0f, frame.rect[1] + frame.rect[3] / 2.0f);
  return copy;
}

bool drawsAboveGround(const std::u16string& name) {
  return (!name.empty() && (name[0] == u'^' || name[0] == u'$')) || name == u"##";
}

math::Rect drawViewportRect() {
  auto* application = dynamic_cast<framework::GameApplication*>(app::Application::Instance());
  if (application) return application->GetFit().mViewport;
  return math::Rect(0.0f, 0.0f, kDrawDesignWidth, kDrawDesignHeight);
}

bool drawSameRect(const math::Rect& a, const math::Rect& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::u16string drawDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

void drawLabel(render::Graphics& graphics, const std::u16string& text, float x, float y, int horizontalAnchor) {
  auto request = graphics.DrawText(&text);
  request->mHorizontalAnchor = horizontalAnchor;
  request->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
  request.ScaleUniform(1.0f).GetTransform().Translate(x, y);
}

}  // namespace

bool isBattleDrawState(int state) {
  switch (state) {
    case kStatePlaying:
    case kStateLevelWon:
    case kStateLevelLost:
    case kStatePauseMenu:
    case kStateUnlockMessage:
    case kStateBattleGemOffer:
    case kStateBuyHealthOffer:
    case kStateHealthPurchasePending:
      return true;
    default:
      return false;
  }
}

float roadHighlightAlpha(float gameTime) { return (std::sin(gameTime * 5.0f) + 1.0f) * 0.5f * 0.2f + 0.2f; }

RuvHintLabel waveHintLabel(int index, const float rect[4], float hintTime, float clock, float viewScale, float viewX,
                           float viewY, const std::u16string& incoming, const std::u16string& nextWave) {
  RuvHintLabel label;
  const int seconds = int(hintTime - clock);
  label.text = seconds == 0 ? incoming : nextWave + drawDecimal(seconds);
  const float x = rect[0];
  const float width = rect[2];
  const int e = int(rect[3] * 0.5f - float(index) * 25.0f);
  label.y = (rect[1] + float(e)) * viewScale + viewY;
  if (x >= 512.0f) {
    label.horizontalAnchor = render::DrawTextParam::kAnchorEnd;
    label.x = (x - width * 0.5f - 32.0f) * viewScale + viewX;
  } else {
    label.horizontalAnchor = render::DrawTextParam::kAnchorStart;
    label.x = (x + width * 0.5f + 32.0f) * viewScale + viewX;
  }
  return label;
}

RuvRadialLayout radialLayout(float centreX, float centreY, float radius, float arcStart, float arcEnd,
                             std::vector<int> protoIds, unsigned char& edgeApplied, float appearance) {
  RuvRadialLayout layout;
  const RuvRadialEdge edge = RuvRadialMenu::edgeAt(centreX, centreY);
  layout.atEdge = edge.atEdge;
  layout.arcStart = arcStart;
  layout.arcEnd = arcEnd;
  if (layout.atEdge) {
    if (!edgeApplied && edge.reversesItems) {
      layout.reverse = true;
      std::reverse(protoIds.begin(), protoIds.end());
    }
    edgeApplied = 1;
    layout.arcStart = edge.arcStart;
    layout.arcEnd = edge.arcEnd;
  }
  const int n = int(protoIds.size());
  const int m = layout.atEdge ? n - 1 : n;
  const float step = m == 0 ? 0.0f : (layout.arcEnd - layout.arcStart) / float(m);
  layout.radius = radius * (layout.atEdge ? RuvRadialMenu::kEdgeScale : 1.0f) * appearance;
  for (int i = 0; i < n; ++i) {
    float angle = float(i) * step + layout.arcStart;
    if (!layout.atEdge) {
      switch (protoIds[size_t(i)]) {
        case 10000: angle = 270.0f; break;
        case 20000: angle = 180.0f; break;
        case 30000: angle = 0.0f; break;
        case 40000: angle = 90.0f; break;
        default: break;
      }
    }
    const float a = angle * kDrawDegrees;
    layout.angles.push_back(angle);
    layout.x.push_back(centreX + std::sin(a) * layout.radius);
    layout.y.push_back(centreY + std::cos(a) * layout.radius);
  }
  return layout;
}

void drawCircle(render::Graphics& graphics, float cx, float cy, float r) {
  const auto at = [cx, cy, r](int degrees) {
    const float a = float(degrees) * kDrawDegrees;
    return math::Point2(cx + std::sin(a) * r, cy + std::cos(a) * r);
  };
  for (int i = 0; i < 36; ++i) graphics.DrawLine(at(10 * i), at(10 * (i + 1)));
}

void RuvMap::collectScene(render::Graphics& graphics) {
  std::vector<RuvFrameEntry*>* layers = mDrawLayers;
  for (const std::unique_ptr<RuvTower>& tower : mTowers) tower->draw(graphics);
  for (const std::unique_ptr<RuvUnit>& unit : mWaves->units) {
    if (unit->alive) unit->draw(graphics);
  }
  for (int sorted : {0, 1, 3}) std::stable_sort(layers[sorted].begin(), layers[sorted].end(), drawDepthLess);
  std::vector<RuvFrameEntry*>& scene = layers[0];
  for (int joined : {2, 1}) scene.insert(scene.end(), layers[joined].begin(), layers[joined].end());
  if (mSpots) {
    for (RuvFrameEntry* frame : mSpots->scenery) {
      if (!frame->visible) continue;
      RuvFrameEntry* copy = drawCopyAtCentre(*this, *frame);
      if (drawsAboveGround(copy->name)) {
        scene.push_back(copy);
      } else {
        scene.insert(scene.begin(), copy);
      }
    }
  }
  for (int joined : {4, 3}) scene.insert(scene.end(), layers[joined].begin(), layers[joined].end());
  for (const std::unique_ptr<RuvEffect>& effect : mEffects) {
    if (!effect->emitter) continue;
    RuvFrameEntry* entry = drawSceneRecord(*this);
    entry->emitter = effect->emitter;
    const math::Point2 at = effect->emitter->GetPosition();
    entry->transform.Translate(at.x, at.y);
    entry->depth = at.y;
    scene.push_back(entry);
  }
  if (mSceneryCache && mArmedSpell) {
    RuvFrameEntry* highlight = drawSceneRecord(*this);
    highlight->image = mSceneryCache.get();
    highlight->transform.Translate(512.0f, 384.0f - mSceneryRect.y);
    highlight->additive = 1;
    highlight->colour = math::Color(0.804f, 0.75f, 0.171f, roadHighlightAlpha(mGameTime));
    scene.insert(scene.begin(), highlight);
  }
  // The marks are there to be clicked: above the opaque ground picture and whatever walks on it.
  for (const std::unique_ptr<RuvFrameEntry>& mark : mWaveHint->marks) scene.push_back(drawCopyAtCentre(*this, *mark));
}

void RuvMap::clearScene() {
  for (RuvFrameEntry* entry : mDrawLayers[0]) {
    if (entry->owner == this) delete entry;
  }
  for (std::vector<RuvFrameEntry*>& layer : mDrawLayers) layer.clear();
}

void RuvMap::drawBattle(render::Graphics& graphics) {
  // Enemies enter from beyond the scenery's edge: on a screen wider than the scenery they would
  // show over the bars beside it.
  math::Rect clip;
  const bool clipped = sceneryBounds(clip);
  if (clipped) {
    graphics.SetClipRect(math::Rect(clip.x * mViewScale + mViewX, clip.y * mViewScale + mViewY, clip.width * mViewScale,
                                    clip.height * mViewScale));
  }
  graphics.SetBlendMode(kDrawBlendAlpha);
  collectScene(graphics);
  {
    MapDrawCamera camera(graphics, *this);
    for (const RuvFrameEntry* entry : mDrawLayers[0]) drawSceneEntry(graphics, *entry);
    graphics.SetShaderMode(render::Graphics::kShaderMultiply);
  }
  for (const std::unique_ptr<RuvUnit>& unit : mWaves->units) {
    if (unit->alive) unit->drawOverlay(graphics);
  }
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  for (const std::unique_ptr<RuvTower>& tower : mTowers) tower->drawOverlay(graphics);
  if (mSelectedUnit) {
    MapDrawCamera camera(graphics, *this);
    mEnemySpotAnim->draw(graphics, mSelectedUnit->position.x, mSelectedUnit->position.y - selectedUnitTop(), 0.0f);
  }
  drawWaveHintTexts(graphics);
  if (mShowDebug) drawDebugOverlay(graphics);
  clearScene();
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  {
    MapDrawCamera camera(graphics, *this);
    mBullets->draw(graphics);
  }
  if (clipped) graphics.ResetClipRect();
}

bool RuvMap::sceneryBounds(math::Rect& bounds) const {
  if (!mSpots) return false;
  bool any = false;
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
  for (const RuvFrameEntry* frame : mSpots->scenery) {
    if (!frame->visible || frame->rect[2] <= 0.0f || frame->rect[3] <= 0.0f) continue;
    const float* r = frame->rect;
    left = any ? std::min(left, r[0]) : r[0];
    top = any ? std::min(top, r[1]) : r[1];
    right = any ? std::max(right, r[0] + r[2]) : r[0] + r[2];
    bottom = any ? std::max(bottom, r[1] + r[3]) : r[1] + r[3];
    any = true;
  }
  if (any) bounds = math::Rect(left, top, right - left, bottom - top);
  return any;
}

float RuvMap::selectedUnitTop() const {
  // Without a frame in its unnamed group the marker stands on the unit's position.
  const RuvProto* proto = mSelectedUnit->proto();
  if (!proto || !proto->art) return 0.0f;
  const auto group = proto->art->groups.find("");
  if (group == proto->art->groups.end() || group->second.empty()) return 0.0f;
  return group->second.front()->rect[1];
}

void RuvMap::drawWaveHintTexts(render::Graphics& graphics) {
  if (mWaveHint->marks.empty()) return;
  LocalStrings* strings = LocalStrings::Instance();
  const std::u16string incoming = strings->get(u"game_incoming");
  const std::u16string nextWave = strings->get(u"game_nextwave");
  if (mWaveHint->font) graphics.mFont = mWaveHint->font.Get();
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  for (size_t i = 0; i < mWaveHint->marks.size(); ++i) {
    const RuvHintLabel label = waveHintLabel(int(i), mWaveHint->marks[i]->rect, mWaveHint->dueTime - mWaveHint->unused,
                                             mWaves->clock, mViewScale, mViewX, mViewY, incoming, nextWave);
    drawLabel(graphics, label.text, label.x, label.y, label.horizontalAnchor);
  }
}

void RuvMap::drawDebugOverlay(render::Graphics& graphics) {
  for (const std::unique_ptr<RuvModifier>& modifier : mModifiers) {
    const float alpha = modifier->kind == 101 && modifier->duration > 0.0f ? 1.0f - modifier->elapsed / modifier->duration
                                                                          : 0.5f;
    graphics.SetColorRGBA(1.0f, 0.0f, 0.0f, alpha);
    math::Transform2D at;
    at.Scale(modifier->radius / kDrawRadiusImageSize, modifier->radius / kDrawRadiusImageSize);
    at.Translate(modifier->x, modifier->y);
    drawCentredImage(graphics, mArtRadius, at);
  }
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  for (const std::unique_ptr<RuvTower>& tower : mTowers) tower->drawDebug(graphics);
}

void RuvMap::draw(render::Graphics& graphics) {
  if (!mReady) return;
  // The cache is drawn for one viewport; a switch of the screen mode changes it.
  if (mSceneryCache && (mSceneryDirty || !drawSameRect(drawViewportRect(), mSceneryRect))) renderSceneryCache();
  if (isBattleDrawState(mState)) drawBattle(graphics);
  {
    MapDrawCamera camera(graphics, *this);
    mPopups->draw(graphics);
    drawSprites(mSprites, graphics);
  }
  for (const std::unique_ptr<RuvParticle>& particle : mParticles) particle->draw(graphics);
  graphics.SetBlendMode(kDrawBlendAlpha);
  drawHud(graphics);
  if (mRadialMenu && !mRadialMenu->active) {
    mRadialMenu.reset();
  } else if (mRadialMenu) {
    MapDrawCamera camera(graphics, *this);
    mRadialMenu->draw(graphics);
  }
  {
    MapDrawCamera camera(graphics, *this);
    for (const std::unique_ptr<render::ParticleEmitter>& emitter : mEmitters) graphics.DrawParticles(emitter.get());
    if (mState != kStateGemShop) {
      for (const std::unique_ptr<RuvEffect>& effect : mOverlayEffects) {
        if (effect->emitter) graphics.DrawParticles(effect->emitter);
      }
    }
  }
  if (mArmedSpell && mActiveEmitter) graphics.DrawParticles(mActiveEmitter.get());
  if (isBattleDrawState(mState) && mActiveButtonEmitter) graphics.DrawParticles(mActiveButtonEmitter.get());
  drawHudTop(graphics);
  if (mShowWaveList) drawWaveList(graphics, *mWaves);
}

void RuvMap::drawWaveList(render::Graphics& graphics, const RuvWaveManager& waves) {
  for (size_t i = 0; i < waves.waves.size(); ++i) {
    const RuvWaveProto& wave = *waves.waves[i];
    std::u16string line;
    for (const std::unique_ptr<RuvWaveEntry>& entry : wave.entries) {
      const int due = int(waves.wavesTimeout * float(i) + wave.timeout + entry->x / 45.0f - waves.clock + 0.5f);
      line += drawDecimal(entry->protoId) + u"(" + drawDecimal(due) + u"), ";
    }
    auto request = graphics.DrawText(&line);
    request.ScaleUniform(1.0f).GetTransform().Translate(0.0f, 20.0f * float(i));
  }
}

void RuvMap::renderSceneryCache() {
  mSceneryCache.reset();
  mSceneryRect = drawViewportRect();
  // Screens scale about the middle of the view (their frames, buttons and texts alike).
  RuvResources::Instance()->setSceneryCentre(
      math::Point2(mSceneryRect.x + mSceneryRect.width * 0.5f, mSceneryRect.y + mSceneryRect.height * 0.5f));
  render::Render* renderer = RuvResources::Instance()->getRender();
  if (!renderer) return;
  render::RenderTarget* target = nullptr;
  if (renderer->CreateRenderTarget(unsigned(mSceneryRect.width), unsigned(mSceneryRect.height), &target, true) != VN_OK ||
      !target) {
    return;
  }
  mSceneryCache.reset(target);
  render::Graphics graphics(target);
  graphics.Clear(render::Render::kClearTarget, math::Color(0.0f, 0.0f, 0.0f, 0.0f), 1.0f, 0);
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  static math::Transform3D shift;
  shift.Reset();
  shift.Translate(math::Point3(-mSceneryRect.x, 0.0f, 0.0f));
  graphics.mTransform = &shift;
  drawRoads(graphics, mRoadBrush);
  mSceneryDirty = false;
}

void RuvMap::drawRoads(render::Graphics& graphics, render::Image* brush) {
  for (const RuvLink& link : mLinks) stampLink(link, graphics, brush);
  graphics.Flush();
}

bool RuvMap::linkCurve(const RuvLink& link, math::Point2& p0, math::Point2& p1, math::Point2& p2) const {
  const RuvPoint* start = nullptr;
  const RuvPoint* end = nullptr;
  for (const RuvPoint& point : mPoints) {
    if (!start && point.id == link.startId) start = &point;
    if (!end && point.id == link.endId) end = &point;
  }
  if (!start || !end) return false;
  p0 = math::Point2(start->x, start->y);
  p1 = math::Point2(link.controlX, link.controlY);
  p2 = math::Point2(end->x, end->y);
  return true;
}

void RuvMap::stampLink(const RuvLink& link, render::Graphics& graphics, render::Image* brush) {
  math::Point2 p0, p1, p2;
  if (!brush || !linkCurve(link, p0, p1, p2)) return;
  for (float t = 0.0f; t < 1.0f; t = stepAlongLink(link, t, kDrawRoadStamp, 0.0f)) {
    const math::Point2 at = quadBezierPoint(p0, p1, p2, t);
    auto request = graphics.DrawImage(brush);
    request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
    request.Translate(at);
  }
}

float RuvMap::stepAlongLink(const RuvLink& link, float t, float length, float offset) const {
  math::Point2 p0, p1, p2;
  if (!linkCurve(link, p0, p1, p2)) return 1.0f;
  const auto shifted = [&](float s) {
    const math::Point2 at = quadBezierPoint(p0, p1, p2, s);
    const math::Point2 normal = bezierNormal(p0, p1, p2, s);
    return math::Point2(at.x + normal.x * offset, at.y + normal.y * offset);
  };
  float covered = 0.0f;
  math::Point2 previous = shifted(t);
  while (true) {
    t += 0.001f;
    if (t > 1.0f) return 1.0f;
    const math::Point2 next = shifted(t);
    covered += std::hypot(next.x - previous.x, next.y - previous.y);
    previous = next;
    if (covered >= length) return t;
  }
}

RuvRangePreview radialRangePreview(const RuvRadialMenu& menu, RuvMap& map) {
  RuvRangePreview preview;
  if (menu.phase == RuvRadialMenu::kClosing || !menu.spot) return preview;
  preview.x = frameCentreX(*menu.spot);
  preview.y = frameCentreY(*menu.spot);
  if (menu.mode == RuvRadialMenu::kBuildMode) {
    if (menu.hoveredId <= 0) return preview;
    const std::unique_ptr<RuvProto> copy = map.mProtos->makeUpgradedProto(menu.hoveredId, map.mUpgrades.get());
    if (!copy) return preview;
    const auto* spot = static_cast<const RuvSpot*>(menu.spot->owner);
    const float mult = spot ? spot->attributes.getFloat("radius_mult") : 0.0f;
    preview.shown = preview.rings = true;
    preview.imageScale = copy->r / kDrawRadiusImageSize * mult;
    preview.rimRadius = preview.ringRadius = copy->r * 0.5f * mult;
    return preview;
  }
  RuvTower* tower = menu.tower.get();
  if (menu.mode != RuvRadialMenu::kTowerMode || !tower) return preview;
  const float mult = tower->spotAttribute("radius_mult");
  const RuvProto* current = tower->tier();
  const RuvProto* shown = menu.hoveredItem ? menu.hoveredItem->proto : current;
  preview.shown = true;
  // A hovered icon without a prototype (the sale) shows the radius image as it is, without rings.
  if (!shown) return preview;
  float radius = shown->r;
  if (!menu.hoveredItem) {
    RuvProto copy;
    copy.copyFrom(*shown);
    if (map.mUpgrades) map.mUpgrades->applyToProto(copy);
    radius = copy.r;
  }
  const float scale = radius / kDrawRadiusImageSize * mult;
  preview.imageScale = scale;
  preview.rings = true;
  preview.rimRadius = scale * kDrawRadiusImageSize * 0.5f;
  preview.ringRadius = ((current ? current->r : 0.0f) + shown->r) * 0.5f * mult * scale;
  return preview;
}

namespace {

// The radius image, then the gold rim and the ring that grows to 1.125 times its radius once a
// second while fading.
void drawRadialRangePreview(render::Graphics& graphics, const RuvRadialMenu& menu, RuvMap& map) {
  const RuvRangePreview preview = radialRangePreview(menu, map);
  if (!preview.shown) return;
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
  math::Transform2D at;
  if (preview.imageScale) at.Scale(*preview.imageScale, *preview.imageScale);
  at.Translate(preview.x, preview.y);
  drawCentredImage(graphics, map.mArtRadius, at);
  if (!preview.rings) return;
  const float fraction = menu.timer - std::floor(menu.timer);
  graphics.SetColorRGBA(0.71f, 0.63f, 0.31f, 1.0f);
  drawCircle(graphics, preview.x, preview.y, preview.rimRadius);
  graphics.SetColorRGBA(0.0f, 0.36f, 0.125f, 1.0f - fraction);
  drawCircle(graphics, preview.x, preview.y, preview.ringRadius * 1.125f * fraction);
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
}

render::Image* radialItemIcon(const RuvRadialItem& item, const RuvRadialMenu& menu, const RuvMap& map) {
  if (!item.proto) return menu.mode == RuvRadialMenu::kBuySpotMode ? map.mArtBuy : map.mArtSell;
  if (item.proto->stars == 1) return map.mArtLevel2;
  if (item.proto->stars == 2) return map.mArtLevel3;
  const auto icon = map.mArtTowerIcons.find(item.proto->id);
  return icon != map.mArtTowerIcons.end() ? icon->second : nullptr;
}

// The icons of the prototype's abilities on a half circle above the item.
void drawRadialBadges(render::Graphics& graphics, const RuvProto& proto, const RuvMap& map, float x, float y) {
  const std::vector<render::Image*> badges = radialBadgeImages(proto, map);
  const float spacing = 180.0f / float(badges.size() + 1);
  const float base = spacing + 270.0f;
  for (size_t j = 0; j < badges.size(); ++j) {
    const float e = (float(j) * spacing + base) * kDrawDegrees;
    math::Transform2D at;
    at.Translate(x + std::sin(e) * 35.0f, y + std::cos(e) * 35.0f);
    drawCentredImage(graphics, badges[j], at);
  }
}

// The item's price row, its icons included, centred on (x, y).
void drawRadialPrice(render::Graphics& graphics, RuvRadialItem& item, std::u16string text, float x, float y) {
  item.text.text = std::move(text);
  item.text.buildChunks();
  math::Transform2D at;
  at.Translate(x, y);
  item.text.draw(graphics, at);
}

}  // namespace

void RuvRadialMenu::draw(render::Graphics& graphics) {
  if (!active || !mMap) return;
  RuvMap& map = *mMap;
  drawRadialRangePreview(graphics, *this, map);
  if (RuvTower* owner = tower.get()) {
    if (phase != kClosing) owner->drawDirect(graphics);
  }
  const float k = phase == kOpening ? timer / kTransitionSeconds : phase == kClosing ? 1.0f - timer / kTransitionSeconds : 1.0f;
  if (items.empty()) {
    active = 0;
    return;
  }
  const float money = map.mWallet ? float(map.mWallet->money) : 0.0f;
  if (mFont) graphics.mFont = mFont.Get();
  std::vector<int> protoIds;
  for (const std::unique_ptr<RuvRadialItem>& item : items) protoIds.push_back(item->proto ? item->proto->id : 0);
  const RuvRadialLayout layout = radialLayout(centreX, centreY, radius, arcStart, arcEnd, protoIds, edgeFlag, k);
  if (layout.reverse) std::reverse(items.begin(), items.end());
  arcStart = layout.arcStart;
  arcEnd = layout.arcEnd;
  for (size_t i = 0; i < items.size(); ++i) {
    RuvRadialItem& item = *items[i];
    item.angle = layout.angles[i];
    const float a = item.angle * kDrawDegrees;
    graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, k);
    math::Transform2D at;
    at.Translate(layout.x[i], layout.y[i]);
    drawCentredImage(graphics, radialItemIcon(item, *this, map), at);
    const float labelX = centreX + std::sin(a) * radius * k;
    const float labelY = centreY + std::cos(a) * radius * k - 30.0f;
    if (item.proto) {
      drawRadialBadges(graphics, *item.proto, map, layout.x[i], layout.y[i]);
      const int price = int(mode == kStarMode ? item.proto->tierCost : item.cost);
      if (money < float(price)) {
        graphics.SetColorRGBA(0.94f, 0.44f, 0.44f, 1.0f);
      } else {
        graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
      }
      drawRadialPrice(graphics, item, u"$" + drawDecimal(price), labelX, labelY);
      graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (!item.label.empty()) {
      const auto* spotDefinition = spot ? static_cast<const RuvSpot*>(spot->owner) : nullptr;
      const bool cannotPay = mode == kBuySpotMode && spotDefinition && map.mWallet &&
                          (money < float(spotDefinition->cost_gold) || map.mWallet->gems < spotDefinition->cost_real);
      if (cannotPay) graphics.SetColorRGBA(1.0f, 0.0f, 0.0f, 1.0f);
      drawRadialPrice(graphics, item, base::ToWide(item.label, base::kEncodingUtf8), labelX, labelY);
      graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
    }
  }
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
}
