#pragma once
// The level's build spots and scenery frames. Spot entries are frame entries owned by the scenery
// (with the boost icons under them); each points at its RuvSpot through its owner.
#include <memory>
#include <string>
#include <vector>

namespace file {
class ImageContainer;
}
namespace render {
class Image;
}

class RuvFrameEntry;
class RuvSpot;

class RuvSpotList {
 public:
  static constexpr float kHitDistance = 40.0f;  // inclusive
  static constexpr float kIconSpacing = 33.0f;
  static constexpr float kIconDrop = 25.0f;

  // The spot images of the art set "ruv/spots"; no scenery.
  RuvSpotList();
  // The spot images, then the scenery of the layout.
  explicit RuvSpotList(const std::u16string& layoutPath);
  // Deletes every scenery entry (spot entries and boost icons too) and the income icon.
  ~RuvSpotList();
  RuvSpotList(const RuvSpotList&) = delete;
  RuvSpotList& operator=(const RuvSpotList&) = delete;

  // A frame entry per layer of the layout's folder (owned), then sorted by index.
  void loadScenery(const std::u16string& layoutPath);
  // The entry of spot number index (named "#index"), showing the bought image when bought; appended
  // to spots and scenery with the spot's boost icons.
  RuvFrameEntry* addSpot(RuvSpot& spot, int index, bool bought);
  // The first visible spot entry whose centre is at most 40 px from the map point.
  RuvFrameEntry* findSpotAt(float x, float y) const;
  // Stable, by index.
  void sortScenery();
  // The scenery's layout; null when it did not open.
  file::ImageContainer* layout() const { return mContainer.get(); }

  std::vector<RuvFrameEntry*> spots;    // not owned: members of the scenery
  std::vector<RuvFrameEntry*> scenery;  // owned
  render::Image* spotImages[3] = {nullptr, nullptr, nullptr};  // owned by their art set

 private:
  void addBoostIcons(RuvSpot& spot, const RuvFrameEntry& entry);

  render::Image* mIncomeIcon = nullptr;  // owned; loaded for the first spot that shows it
  bool mIncomeIconLoaded = false;
  std::unique_ptr<file::ImageContainer> mContainer;  // the scenery's layout
};

// The centre of a frame entry's rectangle.
float frameCentreX(const RuvFrameEntry& entry);
float frameCentreY(const RuvFrameEntry& entry);
