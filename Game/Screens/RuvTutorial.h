#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/Singletone.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/RuvTutorialStep.h"

namespace file {
class ImageContainer;
}
namespace layer {
class ImageLayer;
class Layer;
class TextLayer;
}  // namespace layer
class RuvMap;

// The tutorial's skip button: a click on it asks whether to switch the tutorial off.
class TutorialButton : public HUDLayerButton {
 public:
  // The button takes both frames' images and deletes them with itself.
  TutorialButton(const RuvFrameEntry& firstFrame, const RuvFrameEntry& secondFrame, const std::u16string& caption);
  ~TutorialButton() override;

  // Inside the button: the skip button stops reacting and the root board shows the skip question.
  void onClick(int x, int y) override;
};

// The scripted steps laid over the battle: each waits for its activate event, shows its folder of
// "ruv/data/tutorial" above the map and the HUD and runs its commands, and ends on its complete
// event. The steps' states live in the current profile. The game reaches the battle map through the
// game object; without one every call that needs it does nothing.
class RuvTutorial : public base::Singletone<RuvTutorial> {
 public:
  static constexpr char16_t kFile[] = u"ruv/tutorial.xml";
  static constexpr char16_t kLayout[] = u"ruv/data/tutorial";
  static constexpr char16_t kSkipLayout[] = u"ruv/data/tutorial/skip";

  // Reads the layout, the steps and the skip button, then rearms the first steps.
  RuvTutorial();
  ~RuvTutorial() override;

  // Its layout, layers and images go back to the resource and file managers.
  std::vector<base::SingletoneBase*> GetDependencies() override;

  // Offers the event to every step in file order, each after reading its state from the profile.
  void onEvent(const std::u16string& name);
  // Real seconds, pointer moves and releases; passed to the skip button while a step is shown.
  void update(float dt);
  void onMouseMove(int x, int y);
  void onClick(int x, int y);
  // The pause menu opens and closes: everything shown is hidden and shown again.
  void suspend();
  void resume();
  // At every level load: the steps of an unfinished group go back to new.
  void rearmSteps();
  // A profile was selected: the switch and every step's state are read again.
  void reloadProgress();
  // The step's folder, its texts and the skip button on the root board's layer.
  void show(const RuvTutorialStep& step);
  // Takes the display away; the steps keep their states.
  void hide();
  // Switches the tutorial off for the current profile.
  void disable();

  std::vector<std::unique_ptr<RuvTutorialStep>> mSteps;  // file order
  unsigned char mShownBeforeSuspend = 0;
  unsigned char mEnabled = 0;    // the profile's tutorial switch
  unsigned char mShown = 0;      // a step is on screen and the skip button reacts
  unsigned char mSkipAsked = 0;  // the skip question is open
  std::unique_ptr<file::ImageContainer> mLayout;  // null without the layout: steps show nothing
  std::vector<std::unique_ptr<layer::ImageLayer>> mImageLayers;  // the pictures on screen
  std::vector<std::unique_ptr<layer::TextLayer>> mTextLayers;    // the texts on screen
  std::unique_ptr<layer::Layer> mImageRoot;
  std::unique_ptr<layer::Layer> mTextRoot;
  std::unique_ptr<TutorialButton> mSkipButton;  // null without the skip layout

 private:
  void readSteps();
  void createSkipButton();
  void runCommands(const RuvTutorialCmdList* cmds, RuvMap& map);
  // The three layers shown with a step: the roots and the skip button when there is one.
  std::vector<layer::Layer*> displayLayers() const;
};
