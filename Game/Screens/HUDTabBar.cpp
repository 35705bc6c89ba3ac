#include "Game/Screens/HUDTabBar.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Screens/HoverSwell.h"
#include "Game/Screens/Options/TalvenAnimation.h"

namespace {

constexpr char16_t kTabActive[] = u"tabs/up_button_ac";
constexpr char16_t kTabInactive[] = u"tabs/up_button_in";
constexpr const char16_t* kTabLabelFont = kFontMain42x1;
constexpr const char16_t* kTabSelectedFont = kFontMain42x3;
constexpr const char16_t* kTabRestingFont = kFontMain32x2;
constexpr float kTabLabelWrap = 211.0f;
constexpr float kTabLabelDrop = 6.0f;
constexpr float kTabLargeScale = 1.1f;

int tabImageWidth(const layer::ImageLayer& picture) {
  return picture.GetImage() ? picture.GetImage()->GetWidth() : 0;
}

int tabImageHeight(const layer::ImageLayer& picture) {
  return picture.GetImage() ? picture.GetImage()->GetHeight() : 0;
}

void setTabLabelFont(layer::TextLayer& label, const char16_t* font) {
  label.mFont = LoadGameFont(font);
  label.mLocalBoxValid = false;
}

}  // namespace

HUDTab::HUDTab(file::ImageContainer* layout, const std::u16string& name)
    : root(std::make_unique<layer::Layer>()),
      holder(std::make_unique<layer::Layer>()),
      active(std::make_unique<layer::ImageLayer>()),
      inactive(std::make_unique<layer::ImageLayer>()) {
  placePsdImage(active.get(), layout, kTabActive, math::Point2(0.0f, 0.0f));
  placePsdImage(inactive.get(), layout, kTabInactive, math::Point2(0.0f, 0.0f));
  active->SetPosition(math::Point3(0.0f, 0.0f, 0.0f));
  inactive->SetPosition(math::Point3(0.0f, 0.0f, 0.0f));

  label = std::make_unique<layer::TextLayer>(LoadGameFont(kTabLabelFont), LocalStrings::Instance()->get(name),
                                             kTabLabelWrap, 0.0f, 2, true);
  label->mHorizontalAnchor = 2;
  label->mVerticalAnchor = 2;
  label->SetPosition(math::Point3(static_cast<float>(tabImageWidth(*active)) / 2.0f,
                                  static_cast<float>(tabImageHeight(*active)) / 2.0f + kTabLabelDrop, 0.0f));
  label->SnapToPixels();

  holder->AddChild(inactive.get());
  holder->AddChild(active.get());
  holder->AddChild(label.get());
  holder->SetPosition(math::Point3(static_cast<float>(-(tabImageWidth(*inactive) / 2)),
                                   static_cast<float>(-tabImageHeight(*inactive)), 0.0f));
  root->AddChild(holder.get());
}

HUDTab::~HUDTab() = default;

void HUDTab::select() {
  setTabLabelFont(*label, kTabSelectedFont);
  selected = 1;
  scale = kTabLargeScale;
  inactive->mVisible = false;
  active->mVisible = true;
}

void HUDTab::deselect() {
  setTabLabelFont(*label, kTabRestingFont);
  hovered = 0;
  selected = 0;
  inactive->mVisible = true;
  active->mVisible = false;
}

bool HUDTab::hitTest(int x, int y) const {
  if (!enabled) return false;
  const float rx = root->mPosition.x;
  const float ry = root->mPosition.y;
  const float halfWidth = static_cast<float>(tabImageWidth(*active) / 2);
  const float height = static_cast<float>(tabImageHeight(*active));
  const float px = static_cast<float>(x);
  const float py = static_cast<float>(y);
  return rx - halfWidth < px && px < rx + halfWidth && ry - height < py && py < ry;
}

void HUDTab::onMouseMove(int x, int y) {
  if (selected) return;
  hovered = hitTest(x, y) ? 1 : 0;
}

void HUDTab::update(float dt) {
  if (!selected) {
    active->mVisible = hovered != 0;
    inactive->mVisible = hovered == 0;
    scale = hoverSwell(scale, hovered != 0, dt);
  }
  talven::setScale(*root, scale);
}

HUDTabBar::HUDTabBar(file::ImageContainer* layout, const std::vector<std::u16string>& names,
                     const std::vector<unsigned char>& enabled, layer::Layer* boardLayer)
    : root(std::make_unique<layer::Layer>()) {
  const base::ImageInfo* edge = findPsdLayer(layout, kTabActive);
  const float y = edge ? static_cast<float>(edge->mY + edge->mHeight) : 0.0f;
  float x = kFirstX;
  for (size_t k = 0; k < names.size(); ++k) {
    auto tab = std::make_unique<HUDTab>(layout, names[k]);
    tab->root->SetPosition(math::Point3(x, y, 0.0f));
    tab->enabled = k < enabled.size() ? enabled[k] : 1;
    root->AddChild(tab->root.get());
    if (tab->enabled) x += kPitch;
    tabs.push_back(std::move(tab));
  }
  if (boardLayer) boardLayer->AddChild(root.get());
  if (!tabs.empty()) select(0);
}

HUDTabBar::~HUDTabBar() {
  tabs.clear();
  root.reset();
}

void HUDTabBar::select(int index) {
  if (index < 0 || index >= static_cast<int>(tabs.size())) return;
  root->AddChild(tabs[index]->root.get());  // to the end: drawn over the others
  for (size_t k = 0; k < tabs.size(); ++k) {
    if (static_cast<int>(k) == index) {
      tabs[k]->select();
    } else {
      tabs[k]->deselect();
    }
  }
}

int HUDTabBar::clickAt(int x, int y) {
  for (size_t k = 0; k < tabs.size(); ++k) {
    if (tabs[k]->hitTest(x, y)) {
      select(static_cast<int>(k));
      return static_cast<int>(k);
    }
  }
  return -1;
}

void HUDTabBar::onMouseMove(int x, int y) {
  for (const std::unique_ptr<HUDTab>& tab : tabs) tab->onMouseMove(x, y);
}

void HUDTabBar::update(float dt) {
  for (const std::unique_ptr<HUDTab>& tab : tabs) tab->update(dt);
}
