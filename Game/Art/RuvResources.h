#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Singletone.h"
#include "Core/Math/Point.h"

namespace file {
class ImageContainer;
}
namespace render {
class Image;
class Render;
}  // namespace render
namespace tinyxml2 {
class XMLElement;
}

class RuvFrameEntry;

// One layered layout turned into frame groups: each of the fixed group names maps to the frames
// lying directly in the matching layer folder, in the layout's layer order.
class RuvArtSet {
 public:
  using FrameList = std::vector<RuvFrameEntry*>;

  // The fixed group names, in the order they are built; the empty name is a group of its own.
  static constexpr int kGroupCount = 28;
  static const char* const kGroupNames[kGroupCount];

  // Folder F of a shared container: keyed "ruv/" + F; the container stays alive as long as any set
  // built from it, since the textures keep a pointer to it for reloading after a device reset.
  RuvArtSet(const std::shared_ptr<file::ImageContainer>& container, const std::u16string& folder);
  // A data row with "id", "psd" and "img" attributes.
  explicit RuvArtSet(const tinyxml2::XMLElement* element);
  // The layout at path, keyed by the path as given.
  explicit RuvArtSet(const std::u16string& path);
  ~RuvArtSet();
  RuvArtSet(const RuvArtSet&) = delete;
  RuvArtSet& operator=(const RuvArtSet&) = delete;

  // The first frame of the group with that name; null without the group or the frame. Never adds
  // a group.
  RuvFrameEntry* findFrame(const std::u16string& frameName, const std::u16string& groupName);
  // Opens the layout at path as the set's own container and builds the groups from its top level.
  void openFolder(const std::u16string& path);
  // Builds every fixed group from the folder setName of container (the top level when empty).
  void buildGroups(file::ImageContainer* container, const std::u16string& setName);

  std::u16string psdPath;
  int id = 0;
  render::Image* image = nullptr;  // owned
  unsigned char opened = 0;
  std::u16string imgPath;
  file::ImageContainer* container = nullptr;  // the container the frames were read from
  std::map<std::string, FrameList> groups;

 private:
  std::shared_ptr<file::ImageContainer> mContainer;  // owns container
};

// The process-wide cache of art sets; lookups scan from the front, so the oldest matching set wins.
class RuvResources : public base::Singletone<RuvResources> {
 public:
  ~RuvResources() override;
  // The sets' textures are released through the resource manager and their containers read
  // through the file manager: both outlive the cache.
  std::vector<base::SingletoneBase*> GetDependencies() override;

  // The set of a data row. The "psd" key ("ruv/" + psd) is compared only when psd is set and the
  // "img" key only when img is set; a row with neither has no art (null). Builds and keeps a new
  // set when none matches.
  RuvArtSet* getArt(const tinyxml2::XMLElement* element);
  // The first set keyed by exactly path, else a new one built from the layout at path.
  RuvArtSet* getArtByPsd(const std::u16string& path);
  RuvArtSet* findArtByPsd(const std::u16string& path);
  RuvFrameEntry* getFrame(const std::u16string& psdPath, const std::u16string& frameName,
                          const std::u16string& groupName);
  // One set per top-level folder of the layout at path, appended even when the key is cached.
  void loadArtFolder(const std::u16string& path);
  // Deletes every set.
  void clear();

  const std::vector<RuvArtSet*>& getArtSets() const { return mArtSets; }

  // The renderer that loads the game's images (null: none load). The application sets it.
  void setRender(render::Render* render) { mRender = render; }
  render::Render* getRender() const { return mRender; }
  // The middle of the battle map's view rectangle: the centre about which screen frames and
  // buttons scale. (0, 0) until the map draws its first level's roads.
  void setSceneryCentre(const math::Point2& centre) { mSceneryCentre = centre; }
  const math::Point2& getSceneryCentre() const { return mSceneryCentre; }

 private:
  std::vector<RuvArtSet*> mArtSets;
  render::Render* mRender = nullptr;
  math::Point2 mSceneryCentre;
};
