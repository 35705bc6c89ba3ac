#include "Game/Screens/LevelPlate.h"

#include <algorithm>

#include "Core/Base/FormatSpec.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Screens/HoverSwell.h"
#include "Game/Screens/Options/TalvenAnimation.h"

namespace {

constexpr float kPlateNumberWrap = 170.0f;
constexpr float kPlateNumberInset = 3.0f;  // up and left of the plate's centre
constexpr float kLevelStarPitch = 27.0f;
constexpr float kLevelStarInset = 4.0f;
constexpr float kLevelStripDrop = 16.0f;  // the strip hangs this far below the plate
constexpr float kPlateBadgeX = 50.0f;
constexpr float kPlateBadgeY = -20.0f;
constexpr float kBadgeCaptionWrap = 80.0f;

float plateImageWidth(const render::Image* image) { return image ? static_cast<float>(image->GetWidth()) : 0.0f; }
float plateImageHeight(const render::Image* image) { return image ? static_cast<float>(image->GetHeight()) : 0.0f; }

std::unique_ptr<layer::TextLayer> centredPlateText(const char16_t* font, const std::u16string& text, float wrap) {
  auto label = std::make_unique<layer::TextLayer>(LoadGameFont(font), text, wrap, 0.0f, 2, true);
  label->mHorizontalAnchor = 2;
  label->mVerticalAnchor = 2;
  return label;
}

}  // namespace

void makeNewBadge(file::ImageContainer* layout, float x, float y, std::unique_ptr<layer::ImageLayer>& badge,
                  std::unique_ptr<layer::TextLayer>& caption) {
  badge = std::make_unique<layer::ImageLayer>();
  badge->SetImage(loadLayerImage(layout, u"plate/new"), true);
  badge->SetPosition(math::Point3(x, y, 0.0f));
  caption = centredPlateText(kFontMain42x3, LocalStrings::Instance()->get(u"episodeSelectNew"),
                             kBadgeCaptionWrap);
  caption->SetPosition(math::Point3(x + plateImageWidth(badge->GetImage()) / 2.0f,
                                    y + plateImageHeight(badge->GetImage()) / 2.0f, 0.0f));
}

LevelPlate::LevelPlate(file::ImageContainer* layout, RuvProgress& progress, int episodeIndex, int levelIndex,
                       int mode)
    : episode(episodeIndex), level(levelIndex) {
  open = progress.isLevelOpen(episode, level, mode) ? 1 : 0;
  {
    std::unique_ptr<RuvLevelRecord> record(progress.getLevelRecord(episode, level, mode));
    stars = record->stars;
  }
  complete = stars > 0 ? 1 : 0;
  root = std::make_unique<layer::Layer>();
  plate = std::make_unique<layer::ImageLayer>();

  stripImage.reset(loadLayerImage(layout, u"stars_plate/plate"));
  if (complete) {
    plateImage.reset(loadLayerImage(layout, stars == 3 ? u"plate/super" : u"plate/complete"));
    starStrip = std::make_unique<layer::ImageLayer>();
    starStrip->SetImage(stripImage.get(), false);
    for (int i = 0; i < std::min(stars, 3); ++i) {
      starLayers[i] = std::make_unique<layer::ImageLayer>();
      starLayers[i]->SetImage(loadLayerImage(layout, u"stars_plate/star"), true);
      starLayers[i]->SetPosition(math::Point3(kLevelStarPitch * static_cast<float>(i) + kLevelStarInset, kLevelStarInset, -1.0f));
      starStrip->AddChild(starLayers[i].get());
    }
  } else {
    stripImage.reset();
    plateImage.reset(loadLayerImage(layout, open ? u"plate/incomplete" : u"plate/locked"));
  }
  plate->SetImage(plateImage.get(), false);

  const float w = plateImageWidth(plateImage.get());
  const float h = plateImageHeight(plateImage.get());
  number = centredPlateText(kFontMain80, base::FormatSpec().PutInt(level + 1).GetOutput(),
                            kPlateNumberWrap);
  number->SetPosition(math::Point3(w / 2.0f - kPlateNumberInset, h / 2.0f - kPlateNumberInset, 0.0f));
  plate->AddChild(number.get());

  x = (level % kPerRow) * kPitch + kFirstX;
  y = (level / kPerRow) * kPitch + kFirstY;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  plate->SetPosition(math::Point3(-w / 2.0f, -h / 2.0f, 0.0f));
  root->AddChild(plate.get());

  if (level == progress.nextPlayableLevel(episode, mode) && !complete) {
    // A particle file without the effect leaves the plate without it.
    activeEmitter.reset(render::ParticleSystem::Instance()->CreateEmitter("active_lvl"));
    if (activeEmitter) {
      activeEmitter->SetState(render::ParticleEmitter::kPlaying);
      activeEffect = std::make_unique<layer::ParticlesLayer>();
      activeEffect->SetEmitter(activeEmitter.get(), false);
      activeEffect->SetPosition(math::Point3(w / 2.0f, h / 2.0f, 0.0f));
      plate->AddChild(activeEffect.get());
    }
    number->mColor = math::Color(0.0f, 1.0f, 0.0f, 1.0f);
  }

  if (starStrip) {
    const float stripWidth = plateImageWidth(stripImage.get());
    const float stripHeight = plateImageHeight(stripImage.get());
    starStrip->SetPosition(math::Point3((w - stripWidth) / 2.0f, h - stripHeight + kLevelStripDrop, 0.0f));
    plate->AddChild(starStrip.get());
  }

  if (progress.getEpisodeVisits(episode, mode) < level + 1 && open) {
    makeNewBadge(layout, kPlateBadgeX, kPlateBadgeY, newBadge, newText);
    plate->AddChild(newBadge.get());
    plate->AddChild(newText.get());
  }

  number->mVisible = open && stars != 3;
  root->SetPosition(math::Point3(static_cast<float>(x) + w / 2.0f, static_cast<float>(y) + h / 2.0f, 0.0f));
}

LevelPlate::~LevelPlate() = default;

bool LevelPlate::contains(int px, int py) const {
  return x < px && px < x + width && y < py && py < y + height;
}

void LevelPlate::update(float dt) {
  scale = hoverSwell(scale, hover, dt);
  talven::setScale(*root, scale);
  if (activeEmitter) activeEmitter->Update(dt);
}

void LevelPlate::draw(render::Graphics& graphics) { root->Draw(&graphics); }
