#include "OptionsScene.h"

#include <filesystem>

#include "Core/Gui/GameControl.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/DialogEffects.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Screens/Options/OptionsDialog.h"
#include "Game/Screens/Options/TalvenSlider.h"

namespace optionstest {

namespace {

void OptionsSceneCopyFolder(const std::string& path) {
  std::filesystem::create_directories(path);
  std::filesystem::copy(std::string(QM_SOURCE_DIR) + "/data/" + path, path,
                        std::filesystem::copy_options::recursive);
}

}  // namespace

void OptionsScene::SetUp() {
  GameFolderTest::SetUp();
  for (const char* folder : {"ruv/options", "ruv/data/mm", "ruv/data/fonts"}) OptionsSceneCopyFolder(folder);
  CopySampleData("ruv/strings_en.csv");
  ASSERT_EQ(VN_OK, mRender.Init());
  gui::GameControlHelper::SetRender(&mRender);
  mManager = std::make_unique<widget::FrameManager>();
}

void OptionsScene::TearDown() {
  CloseAll();
  mManager.reset();
  if (k2::SoundTags::Exists()) delete k2::SoundTags::Instance();
  if (SoundSystem::Exists()) delete SoundSystem::Instance();
  if (render::ParticleSystem::Exists()) {
    render::ParticleSystem::Instance()->ReleaseAtlases();
    delete render::ParticleSystem::Instance();
  }
  if (widget::DialogEffectsManager::Exists()) delete widget::DialogEffectsManager::Instance();
  mProgress.reset();
  EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<render::BMFont>().empty());
  gui::GameControlHelper::SetRender(nullptr);
  GameFolderTest::TearDown();
}

void OptionsScene::StartProgress(float sound, float music) {
  LoadProfiles("<Profiles currentProfile=\"A\"><Profile name=\"A\"><sound v=\"" + std::to_string(sound) +
               "\"/><music v=\"" + std::to_string(music) + "\"/></Profile></Profiles>");
  mProgress = std::make_unique<RuvProgress>(&mMap);
  mMap.progress = mProgress.get();
}

OptionsDialog* OptionsScene::OpenOptions() {
  auto* dialog = new OptionsDialog(mMap);
  if (TalvenDialog::ShowModal(mManager.get(), dialog) != VN_OK) return nullptr;
  Update(0.0f);
  return dialog;
}

void OptionsScene::Update(float dt) { EXPECT_EQ(VN_OK, mManager->UpdateTree(dt)); }

std::vector<widget::Frame*> OptionsScene::Shown() const {
  std::vector<widget::Frame*> frames;
  for (const widget::FrameEntry& entry : mManager->GetShown()) frames.push_back(entry.mFrame);
  return frames;
}

void OptionsScene::CloseAll() {
  if (!mManager) return;
  mManager->RemoveAllFrames(true, false);
  Update(0.0f);
}

void OptionsScene::Move(const math::Point3& point) {
  EXPECT_EQ(VN_OK, mManager->OnMouseMove(math::Point2(point.x, point.y)));
}
void OptionsScene::Press(const math::Point3& point) {
  EXPECT_EQ(VN_OK, mManager->OnMouseDown(math::Point2(point.x, point.y), 1));
}
void OptionsScene::Drag(const math::Point3& point) {
  EXPECT_EQ(VN_OK, mManager->OnMouseDrag(math::Point2(point.x, point.y)));
}
void OptionsScene::Release(const math::Point3& point) {
  EXPECT_EQ(VN_OK, mManager->OnMouseUp(math::Point2(point.x, point.y), 1));
}

void OptionsScene::Click(const gui::GameControl& control) {
  const math::Point3 centre = OnScreen(control, 0.0f, 0.0f);
  Move(centre);
  Press(centre);
  Release(centre);
}

math::Point3 OptionsScene::OnScreen(const layer::Layer& control, float x, float y) {
  return math::Point3(control.mPosition.x + x, control.mPosition.y + y, 0.0f);
}

std::vector<PlacedText> OptionsScene::Texts(const TalvenDialog& dialog) {
  std::vector<PlacedText> texts;
  for (const layer::Layer* created : dialog.GetCreatedLayers()) {
    if (const auto* text = dynamic_cast<const layer::TextLayer*>(created)) texts.push_back({text->mText, text->mPosition});
  }
  return texts;
}

float OptionsScene::ValueAt(const TalvenSlider& slider, float position) {
  const float low = slider.GetMinimumPosition();
  const float high = slider.GetMaximumPosition();
  return slider.mMinimum + (slider.mMaximum - slider.mMinimum) * (position - low) / (high - low);
}

}  // namespace optionstest
