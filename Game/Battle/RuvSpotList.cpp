#include "Game/Battle/RuvSpotList.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvSpot.h"

namespace {

constexpr const char16_t* kSpotFrames[3] = {u"spots/s", u"spots/g", u"spots/p"};
constexpr float kIconDepthDrop = 30.0f;

render::Image* spotListFrameImage(const char16_t* set, const char16_t* frame) {
  RuvFrameEntry* entry = RuvResources::Instance()->getFrame(set, frame, u"");
  return entry ? entry->image : nullptr;
}

std::u16string spotListDecimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

float frameCentreX(const RuvFrameEntry& entry) { return entry.rect[0] + entry.rect[2] * 0.5f; }
float frameCentreY(const RuvFrameEntry& entry) { return entry.rect[1] + entry.rect[3] * 0.5f; }

RuvSpotList::RuvSpotList() {
  for (int i = 0; i < 3; ++i) spotImages[i] = spotListFrameImage(u"ruv/spots", kSpotFrames[i]);
}

RuvSpotList::RuvSpotList(const std::u16string& layoutPath) : RuvSpotList() { loadScenery(layoutPath); }

RuvSpotList::~RuvSpotList() {
  for (RuvFrameEntry* entry : scenery) delete entry;
  delete mIncomeIcon;
}

void RuvSpotList::loadScenery(const std::u16string& layoutPath) {
  const std::size_t slash = layoutPath.rfind(u'/');
  const std::u16string folder = slash == std::u16string::npos ? layoutPath : layoutPath.substr(0, slash);
  // The textures keep their container for reloading: it lives as long as the list.
  mContainer.reset(file::FileManager::Instance()->OpenImageContainer(folder));
  if (mContainer) {
    std::vector<std::u16string> names;
    mContainer->ListLayers(u"", false, names, false);
    for (const std::u16string& name : names) {
      RuvFrameEntry* entry = createFrameEntry(mContainer.get(), name);
      if (!entry) continue;
      entry->visible = 1;
      entry->depth = entry->rect[1] + entry->rect[3];
      scenery.push_back(entry);
    }
  }
  sortScenery();
}

RuvFrameEntry* RuvSpotList::addSpot(RuvSpot& spot, int index, bool bought) {
  auto* entry = new RuvFrameEntry;
  entry->name = u"#" + spotListDecimal(index);
  entry->image = spotImages[bought ? 0 : std::clamp(spot.kind, 0, 2)];
  const float width = entry->image ? static_cast<float>(entry->image->GetWidth()) : 0.0f;
  const float height = entry->image ? static_cast<float>(entry->image->GetHeight()) : 0.0f;
  entry->rect[0] = std::trunc(spot.x - width * 0.5f);
  entry->rect[1] = std::trunc(spot.y - height * 0.5f);
  entry->rect[2] = width;
  entry->rect[3] = height;
  entry->index = -1;
  entry->visible = 1;
  entry->owner = &spot;
  if (bought) spot.isFree = 1;
  spots.push_back(entry);
  scenery.push_back(entry);
  addBoostIcons(spot, *entry);
  return entry;
}

void RuvSpotList::addBoostIcons(RuvSpot& spot, const RuvFrameEntry& spotEntry) {
  std::vector<render::Image*> images;
  // A missing multiplier reads 0, which is not 1, and so shows its icon.
  if (spot.attributes.getFloat("radius_mult") != 1.0f) images.push_back(spotListFrameImage(u"ruv/ui", u"ui/radius_boost"));
  if (spot.attributes.getFloat("damage_mult") != 1.0f) images.push_back(spotListFrameImage(u"ruv/ui", u"ui/power_boost"));
  if (spot.attributes.getFloat("income_mult") != 1.0f) {
    if (!mIncomeIconLoaded) {
      mIncomeIconLoaded = true;
      mIncomeIcon = ruvLoadImage(u"ruv/data/context/small_icons/income", nullptr);
    }
    images.push_back(mIncomeIcon);
  }
  const float centreX = frameCentreX(spotEntry);
  const float centreY = frameCentreY(spotEntry);
  const float k = std::max(0.0f, static_cast<float>(images.size()) - 1.0f);
  for (std::size_t j = 0; j < images.size(); ++j) {
    auto* icon = new RuvFrameEntry;
    icon->name = u"##";
    icon->image = images[j];
    icon->rect[0] = std::trunc(centreX - k * kIconSpacing * 0.5f + static_cast<float>(j) * kIconSpacing);
    icon->rect[1] = centreY + kIconDrop;
    icon->rect[2] = images[j] ? static_cast<float>(images[j]->GetWidth()) : 0.0f;
    icon->rect[3] = images[j] ? static_cast<float>(images[j]->GetHeight()) : 0.0f;
    icon->depth = icon->rect[1] + kIconDepthDrop;
    // The spot's own index: the stable sort keeps the icons right after their spot.
    icon->index = spotEntry.index;
    scenery.push_back(icon);
    spot.boostIcons.push_back(icon);
  }
}

RuvFrameEntry* RuvSpotList::findSpotAt(float x, float y) const {
  for (RuvFrameEntry* entry : spots) {
    if (entry->visible && distance(frameCentreX(*entry), frameCentreY(*entry), x, y) <= kHitDistance) return entry;
  }
  return nullptr;
}

void RuvSpotList::sortScenery() {
  std::stable_sort(scenery.begin(), scenery.end(),
                   [](const RuvFrameEntry* a, const RuvFrameEntry* b) { return a->index < b->index; });
}
