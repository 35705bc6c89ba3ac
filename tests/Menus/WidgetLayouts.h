#pragma once
// The sample layouts, fonts and strings on a temporary data root, with a recording renderer that the
// game's image and font loaders use, and a board layer standing for the root board's tree.
#include <memory>
#include <string>

#include "Core/File/ImageContainer.h"
#include "Core/Layer/Layer.h"
#include "Core/Render/Font.h"
#include "Core/Render/Image.h"
#include "Core/Resource/ResourcePtr.h"
#include "fakes/RecordingRender.h"
#include "gamesupport/GameTestSupport.h"

namespace menutest {

class WidgetLayoutTest : public gametest::GameFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A layout of the copied sample data (null when it does not open).
  std::unique_ptr<file::ImageContainer> Open(const std::u16string& path);
  // The font name a text layer draws with; empty without a font.
  static std::u16string FontName(const resource::ResourcePtr<render::Font>& font);
  // The name of the texture an image was loaded from; empty without an image.
  static std::string ImageName(const render::Image* image);
  // Loads the sample particle file (deleted with the test).
  void LoadParticles();

  fakes::RecordingRender mRender;
  layer::Layer mBoard;
};

}  // namespace menutest
