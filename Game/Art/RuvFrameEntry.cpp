#include "Game/Art/RuvFrameEntry.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/Layer.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Game/Art/RuvResources.h"

RuvFrameEntry::~RuvFrameEntry() {
  if (ownsImage) delete image;
}

void RuvFrameEntry::draw(render::Graphics&, float) {}

void RuvFrameEntry::hoverTest(int, int) {}

void RuvFrameEntry::update(float) {}

void RuvButtonFrame::draw(render::Graphics& graphics, float screenScale) {
  const math::Point2 centre = RuvResources::Instance()->getSceneryCentre();
  graphics.SetColor(colour);
  auto request = graphics.DrawImage(image);
  request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
  request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
  auto scaled = request.ScaleUniform(scale);
  math::Transform2D& t = scaled.GetTransform();
  t.Translate(rect[0] + rect[2] / 2 - centre.x, rect[1] + rect[3] / 2 - centre.y);
  t.Scale(screenScale, screenScale);
  t.Translate(centre.x, centre.y);
}

void RuvButtonFrame::hoverTest(int x, int y) {
  const float fx = float(x);
  const float fy = float(y);
  hovered = (rect[0] < fx && fx < rect[0] + rect[2] && rect[1] < fy && fy < rect[1] + rect[3]) ? 1 : 0;
}

void RuvButtonFrame::update(float dt) {
  if (hovered == 1) {
    scale += 0.5f * dt;
    if (scale > 1.1f) scale = 1.1f;
  } else if (hovered == 0) {
    scale -= dt;
    if (scale < 1.0f) scale = 1.0f;
  }
}

render::Image* ruvLoadImage(const std::u16string& name, file::ImageContainer* container) {
  render::Render* render = RuvResources::Instance()->getRender();
  render::Image* image = nullptr;
  if (!render || render->LoadImage(name, container, &image, nullptr) != VN_OK) return nullptr;
  return image;
}

const base::ImageInfo* findPsdLayer(file::ImageContainer* container, const std::u16string& name) {
  return container ? container->GetLayerInfo(name) : nullptr;
}

render::Image* loadLayerImage(file::ImageContainer* container, const std::u16string& name) {
  const base::ImageInfo* info = findPsdLayer(container, name);
  return info ? ruvLoadImage(info->mName, container) : nullptr;
}

RuvFrameEntry* createFrameEntry(file::ImageContainer* container, const std::u16string& name) {
  const base::ImageInfo* info = findPsdLayer(container, name);
  if (!info) return nullptr;
  RuvFrameEntry* frame = new RuvFrameEntry;
  frame->rect[0] = info->mX;
  frame->rect[1] = info->mY;
  frame->rect[2] = info->mWidth;
  frame->rect[3] = info->mHeight;
  frame->visible = 1;
  frame->ownsImage = 1;
  frame->image = ruvLoadImage(info->mName, container);
  frame->name = info->mName;
  frame->index = info->mIndex;
  return frame;
}

void placePsdImage(layer::ImageLayer* imageLayer, file::ImageContainer* container, const std::u16string& name,
                   const math::Point2& origin) {
  const base::ImageInfo* info = findPsdLayer(container, name);
  if (!imageLayer || !info) return;
  imageLayer->SetImage(ruvLoadImage(info->mName, container), true);
  imageLayer->SetPosition(math::Point3(info->mX - origin.x, info->mY - origin.y, 0.0f));
}

void detachLayer(layer::Layer* child) {
  if (child && child->GetParent()) child->GetParent()->RemoveChild(child);
}

bool frameIndexLess(const RuvFrameEntry* a, const RuvFrameEntry* b) { return a->index < b->index; }
