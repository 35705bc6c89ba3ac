#include "Game/Screens/HUDWindow.h"

#include <algorithm>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Math/Rect.h"
#include "Core/Render/Graphics.h"
#include "Game/Art/GameFonts.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/Options/TMessageBox.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

bool hudWindowRectHolds(const float* rect, int x, int y) {
  const float fx = float(x);
  const float fy = float(y);
  return rect[0] <= fx && fx <= rect[0] + rect[2] && rect[1] <= fy && fy <= rect[1] + rect[3];
}

template <class Entry>
Entry* hudWindowEntry(const base::ImageInfo& info, file::ImageContainer* container, bool withImage) {
  Entry* entry = new Entry;
  entry->ownsImage = 1;
  entry->rect[0] = info.mX;
  entry->rect[1] = info.mY;
  entry->rect[2] = info.mWidth;
  entry->rect[3] = info.mHeight;
  entry->visible = 1;
  if (withImage) entry->image = ruvLoadImage(info.mName, container);
  return entry;
}

std::vector<std::u16string> hudWindowLayers(file::ImageContainer* container, const std::u16string& folder,
                                            bool recursive) {
  std::vector<std::u16string> names;
  container->ListLayers(folder, recursive, names, false);
  return names;
}

}  // namespace

RuvFrameEntry* newLayoutFrame(const base::ImageInfo& info, file::ImageContainer* container, bool withImage) {
  return hudWindowEntry<RuvFrameEntry>(info, container, withImage);
}

RuvButtonFrame* newLayoutButton(const base::ImageInfo& info, file::ImageContainer* container) {
  return hudWindowEntry<RuvButtonFrame>(info, container, true);
}

HUDWindow::HUDWindow() : font(LoadGameFont(kFontMain42x3)) {}

HUDWindow::HUDWindow(const std::u16string& layoutPath) {
  loadLayout(layoutPath);
  time = 0.0f;
  offsetX = 0.0f;
  offsetY = 0.0f;
  phase = 0;
  scale = 1.0f;
  delete layout;
  layout = nullptr;
  font = LoadGameFont(kFontMain42x3);
}

HUDWindow::~HUDWindow() {
  for (auto& slot : textSlots) delete slot.second;
  for (RuvButtonFrame* button : buttons) delete button;
  for (RuvFrameEntry* frame : frames) delete frame;
}

void HUDWindow::reportUnusableLayout(const std::u16string& path) {
  base::LogDataFileProblem(u"HUDWindow", path, u"is not a usable layout: the screen stays empty");
  GameWindow* board = gameRootBoard();
  if (!board || !board->getMap()) return;
  TalvenDialog::ShowModal(appFrameManager(), new TMessageBox(*board->getMap(), u"layout_damaged", wayOutOfBrokenLayout, path));
}

void HUDWindow::loadLayout(const std::u16string& path) {
  layout = file::FileManager::Instance()->OpenImageContainer(path);
  if (!layout || layout->GetLayerCount() == 0) {
    reportUnusableLayout(path);
    if (!layout) return;
  }
  for (const std::u16string& name : hudWindowLayers(layout, u"", false)) {
    const base::ImageInfo* info = layout->GetLayerInfo(name);
    if (!info) continue;
    RuvFrameEntry* frame = newLayoutFrame(*info, layout, true);
    frame->name = info->mName;
    frame->index = info->mIndex;
    frames.push_back(frame);
  }
  for (const std::u16string& name : hudWindowLayers(layout, u"button", true)) {
    const base::ImageInfo* info = layout->GetLayerInfo(name);
    if (!info) continue;
    RuvButtonFrame* button = newLayoutButton(*info, layout);
    button->name = base::GetFileNameNoExt(name);
    buttons.push_back(button);
  }
  for (const std::u16string& name : hudWindowLayers(layout, u"text", false)) {
    const base::ImageInfo* info = layout->GetLayerInfo(name);
    if (!info) continue;
    RuvFrameEntry*& slot = textSlots[base::GetFileNameNoExt(name)];
    delete slot;
    slot = newLayoutFrame(*info, layout, false);
  }
  std::stable_sort(frames.begin(), frames.end(), frameIndexLess);
}

void HUDWindow::draw(render::Graphics& graphics) {
  drawFrames(graphics);
  drawButtons(graphics);
  drawTexts(graphics);
}

void HUDWindow::update(float dt) {
  time += dt;
  for (RuvButtonFrame* button : buttons) button->update(dt);
}

void HUDWindow::onMouseMove(int x, int y) {
  pointerX = float(x);
  pointerY = float(y);
  for (RuvButtonFrame* button : buttons) button->hoverTest(x, y);
}

void HUDWindow::onMouseUp(int, int) {}

void HUDWindow::onMouseDown(int, int) {}

void HUDWindow::onWheel(int) {}

void HUDWindow::onChar(int) {}

void HUDWindow::onKey(int) {}

int HUDWindow::buttonIndexAt(int x, int y) {
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (hudWindowRectHolds(buttons[i]->rect, x, y)) return int(i);
  }
  return -1;
}

std::u16string HUDWindow::buttonNameAt(int x, int y) {
  for (RuvButtonFrame* button : buttons) {
    if (!button->visible || !hudWindowRectHolds(button->rect, x, y)) continue;
    k2::SoundTags::Instance()->Play(u"simple");
    return button->name;
  }
  return std::u16string();
}

RuvButtonFrame* HUDWindow::findButton(const std::u16string& name) {
  for (RuvButtonFrame* button : buttons) {
    if (button->name == name) return button;
  }
  return nullptr;
}

void HUDWindow::setText(const std::u16string& name, const std::u16string& text) {
  for (auto& pair : texts) {
    if (pair.first == name) {
      pair.second = text;
      return;
    }
  }
  texts.emplace_back(name, text);
}

std::u16string HUDWindow::getText(const std::u16string& name) const {
  for (const auto& pair : texts) {
    if (pair.first == name) return pair.second;
  }
  return std::u16string();
}

void HUDWindow::setFrameVisible(const std::u16string& name, bool visible) {
  for (RuvFrameEntry* frame : frames) {
    if (frame->name == name) frame->visible = visible ? 1 : 0;
  }
}

void HUDWindow::setFont(const resource::ResourcePtr<render::Font>& newFont) { font = newFont; }

void HUDWindow::drawFrames(render::Graphics& graphics) {
  const math::Point2 centre = RuvResources::Instance()->getSceneryCentre();
  for (RuvFrameEntry* frame : frames) {
    if (!frame->visible) continue;
    auto request = graphics.DrawImage(frame->image).Transform(math::Transform2D());
    math::Transform2D& t = request.GetTransform();
    t.Translate(frame->rect[0] + offsetX - centre.x, frame->rect[1] + offsetY - centre.y);
    t.Scale(scale, scale);
    t.Translate(centre.x, centre.y);
  }
}

void HUDWindow::drawButtons(render::Graphics& graphics) {
  for (RuvButtonFrame* button : buttons) {
    if (button->visible) button->draw(graphics, scale);
  }
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
}

void HUDWindow::drawTexts(render::Graphics& graphics) {
  for (const auto& pair : texts) drawText(graphics, pair.first, pair.second);
}

void HUDWindow::drawText(render::Graphics& graphics, const std::u16string& name, const std::u16string& text) {
  const auto slot = textSlots.find(name);
  if (slot == textSlots.end()) return;
  const bool large = name == u"caption" || name == u"levelResult";
  const resource::ResourcePtr<render::Font> textFont = large ? resource::ResourcePtr<render::Font>(LoadGameFont(kFontMain80)) : font;
  if (textFont) graphics.mFont = textFont.Get();
  graphics.SetColor(slot->second->colour);
  const float* r = slot->second->rect;
  const math::Point2 centre = RuvResources::Instance()->getSceneryCentre();
  auto request = graphics.DrawTextBox(&text, r[2], 0.0f, 2, true);
  request->mHorizontalAnchor = render::DrawTextParam::kAnchorCentre;
  request->mVerticalAnchor = render::DrawTextParam::kAnchorCentre;
  auto scaled = request.ScaleUniform(1.0f);
  math::Transform2D& t = scaled.GetTransform();
  t.Translate(offsetX + r[0] + r[2] * 0.5f - centre.x, offsetY + r[1] + r[3] * 0.5f - centre.y);
  t.Scale(scale, scale);
  t.Translate(centre.x, centre.y);
}
