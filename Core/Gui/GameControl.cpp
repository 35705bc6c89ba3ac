#include "Core/Gui/GameControl.h"

#include <algorithm>
#include <cmath>

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Math/Rect.h"
#include "Core/Render/Render.h"
#include "Core/Widget/Widget.h"
#include "Core/Widget/WidgetHitTestListener.h"

namespace gui {

VNResultEnum LoadImageLayer(render::Render* render, const std::u16string& path, file::ImageContainer* container,
                            layer::ImageLayer** out, base::ImageInfo* info) {
  if (render == nullptr) return VN_FAIL;
  render::Image* image = nullptr;
  base::ImageInfo imageInfo;
  const VNResultEnum result = render->LoadImage(path, container, &image, &imageInfo);
  if (result != VN_OK) return result;
  auto* created = new layer::ImageLayer;
  created->SetImage(image, true);
  created->SetPosition(math::Point3(imageInfo.mX, imageInfo.mY, 0.0f));
  *out = created;
  if (info != nullptr) *info = imageInfo;
  return VN_OK;
}

GameControlHelper::GameControlHelper() = default;

GameControlHelper::~GameControlHelper() {
  for (layer::Layer* created : mCreated) {
    if (created->GetParent() != nullptr) created->GetParent()->RemoveChild(created);
    delete created;
  }
  if (mOwnsContainer) delete mContainer;
}

VNResultEnum GameControlHelper::Init(file::ImageContainer* container, widget::Widget* owner,
                                     layer::HitTestListener* listener, layer::Layer* parent, bool ownsContainer) {
  mContainer = container;
  mOwner = owner;
  mListener = listener;
  mParent = parent != nullptr ? parent : (owner != nullptr ? owner->GetLayer() : nullptr);
  mOwnsContainer = ownsContainer;
  return VN_OK;
}

VNResultEnum GameControlHelper::InitFromPath(const std::u16string& path, widget::Widget* owner,
                                             layer::HitTestListener* listener, layer::Layer* parent,
                                             bool ownsContainer) {
  file::ImageContainer* container = file::FileManager::Instance()->OpenImageContainer(path);
  if (container == nullptr) return VN_FAIL;
  return Init(container, owner, listener, parent, ownsContainer);
}

widget::TrapHitTestListener* GameControlHelper::GetTrapListener() {
  if (!mTrap) mTrap = std::make_unique<widget::TrapHitTestListener>(mOwner);
  return mTrap.get();
}

VNResultEnum GameControlHelper::CreateImageLayer(const std::u16string& name, math::Rect& rect,
                                                 layer::ImageLayer*& out) {
  base::ImageInfo info;
  layer::ImageLayer* created = nullptr;
  const VNResultEnum result = LoadImageLayer(sRender, name, mContainer, &created, &info);
  if (result != VN_OK) return result;
  created->mHitTestListener = mListener;
  rect = math::Rect(info.mX, info.mY, info.mWidth, info.mHeight);
  out = created;
  return VN_OK;
}

void GameControlHelper::Record(layer::Layer* layer, int mode) {
  if (mode == kModeNoMouse) layer->mMouseEnabled = false;
  if (mode == kModeTrap) layer->mHitTestListener = GetTrapListener();
  mCreated.push_back(layer);
}

void GameControlHelper::AddLayer(layer::Layer* layer, int mode, layer::Layer* parent) {
  Record(layer, mode);
  layer::Layer* target = parent != nullptr ? parent : mParent;
  if (target != nullptr) target->AddChild(layer);
}

void GameControlHelper::AddLayerBack(layer::Layer* layer, int mode, layer::Layer* parent) {
  Record(layer, mode);
  layer::Layer* target = parent != nullptr ? parent : mParent;
  if (target == nullptr) return;
  // Layers append only: the new one goes first and the others follow it again in their order.
  const std::vector<layer::Layer*> others = target->GetChildren();
  target->AddChild(layer);
  for (layer::Layer* other : others) {
    if (other != layer) target->AddChild(other);
  }
}

VNResultEnum GameControlHelper::MakeImage(const std::u16string& name, layer::ImageLayer*& out) {
  math::Rect rect;
  const VNResultEnum result = CreateImageLayer(name, rect, out);
  if (result != VN_OK) return result;
  if (mParent != nullptr) out->SetPosition(out->mPosition - mParent->mPosition);
  return VN_OK;
}

VNResultEnum GameControlHelper::AddImage(const std::u16string& name, int mode, layer::Layer* parent,
                                         layer::ImageLayer** out) {
  layer::ImageLayer* created = nullptr;
  const VNResultEnum result = MakeImage(name, created);
  if (result != VN_OK) return result;
  AddLayer(created, mode, parent);
  if (out != nullptr) *out = created;
  return VN_OK;
}

VNResultEnum GameControlHelper::AddImageBack(const std::u16string& name, int mode, layer::Layer* parent,
                                             layer::ImageLayer** out) {
  layer::ImageLayer* created = nullptr;
  const VNResultEnum result = MakeImage(name, created);
  if (result != VN_OK) return result;
  AddLayerBack(created, mode, parent);
  if (out != nullptr) *out = created;
  return VN_OK;
}

GameControl::~GameControl() {
  for (std::int32_t i = 0; i < mStateCount; ++i) {
    layer::ImageLayer* state = mStates[i];
    if (state == nullptr) continue;
    if (state->GetParent() != nullptr) state->GetParent()->RemoveChild(state);
    delete state;
    mStates[i] = nullptr;
  }
}

VNResultEnum GameControl::SetStateImage(int state, const std::u16string& name, layer::ImageLayer** out) {
  if (name.empty()) return VN_OK;
  if (state < 0 || state >= mStateCount || mStates == nullptr) return VN_FAIL;
  math::Rect rect;
  layer::ImageLayer* created = nullptr;
  const VNResultEnum result = CreateImageLayer(name, rect, created);
  if (result != VN_OK) return result;
  // A state set twice: the earlier image goes.
  delete mStates[state];
  mStates[state] = created;
  JoinStateRect(rect);
  if (out != nullptr) *out = created;
  return VN_OK;
}

void GameControl::JoinStateRect(const math::Rect& rect) {
  const std::int32_t x = static_cast<std::int32_t>(rect.x);
  const std::int32_t y = static_cast<std::int32_t>(rect.y);
  const std::int32_t w = static_cast<std::int32_t>(rect.width);
  const std::int32_t h = static_cast<std::int32_t>(rect.height);
  if (!mStateRectSet) {
    mStateX = x;
    mStateY = y;
    mStateWidth = w;
    mStateHeight = h;
  } else {
    const std::int32_t left = std::min(mStateX, x);
    const std::int32_t top = std::min(mStateY, y);
    mStateWidth = std::max(mStateX + mStateWidth, x + w) - left;
    mStateHeight = std::max(mStateY + mStateHeight, y + h) - top;
    mStateX = left;
    mStateY = top;
  }
  mStateRectSet = true;
}

void GameControl::Layout() {
  const math::Point3 centre(std::floor(static_cast<float>(mStateX) + static_cast<float>(mStateWidth) * 0.5f),
                            std::floor(static_cast<float>(mStateY) + static_cast<float>(mStateHeight) * 0.5f), 0.0f);
  SetPosition(centre);
  for (std::int32_t i = 0; i < mStateCount; ++i) {
    layer::ImageLayer* state = mStates[i];
    if (state == nullptr) continue;
    state->SetPosition(state->mPosition - centre);
    AddChild(state);
  }
}

}  // namespace gui
