#pragma once
#include <map>
#include <memory>
#include <string>

#include "Core/Animation/AnimData.h"
#include "Core/Base/Singletone.h"
#include "Core/Base/Task.h"
#include "Core/Resource/ResourcePtr.h"

namespace tinyxml2 {
class XMLElement;
}
namespace animation {
class LayerAnim;
}
namespace render {
class Render;
}

namespace widget {

class Dialog;
class DialogAnimEffectsData;

// The task that shows and hides one dialog; runs as a child of the dialog's frame manager.
class DialogEffects : public base::Task {
 public:
  DialogEffects();
  // Clears the dialog's link to it.
  ~DialogEffects() override;

  virtual VNResultEnum SetDialog(Dialog* dialog);
  virtual VNResultEnum Show() = 0;
  virtual VNResultEnum Hide() = 0;
  // Stops the task (its parent drops and deletes it) and forgets the dialog.
  virtual VNResultEnum Detach();

 protected:
  Dialog* mDialog = nullptr;
};

// Plays a one-track show or hide animation on the dialog's root layer.
class DialogAnimEffects : public DialogEffects {
 public:
  enum State { kIdle = 0, kShowing = 1, kShown = 2, kHiding = 3, kHidden = 4 };

  ~DialogAnimEffects() override;

  VNResultEnum Update(float dt) override;
  VNResultEnum Show() override;
  // During the show: remembered and started when the show ends.
  VNResultEnum Hide() override;
  // 1: bound only through Init.
  VNResultEnum SetDialog(Dialog* dialog) override;
  // Takes (or fetches) both animations; 1 unless each has exactly one track.
  VNResultEnum Init(Dialog* dialog, DialogAnimEffectsData& data);

  int GetState() const { return mState; }
  float GetTime() const { return mTime; }

 private:
  VNResultEnum Start(const resource::ResourcePtr<animation::AnimData>& anim, int state);

  resource::ResourcePtr<animation::AnimData> mShowAnim;
  resource::ResourcePtr<animation::AnimData> mHideAnim;
  int mState = kIdle;
  std::unique_ptr<animation::LayerAnim> mRunning;
  float mTime = 0.0f;
  float mEndTime = 0.0f;
  bool mHidePending = false;
};

// One effects description from the configuration.
class DialogEffectsData {
 public:
  virtual ~DialogEffectsData() = default;
  virtual VNResultEnum Load(const tinyxml2::XMLElement* element) = 0;
  // A new effects object for the dialog (the caller's), or a failure and nothing.
  virtual VNResultEnum CreateEffects(Dialog* dialog, DialogEffects*& out) = 0;
};

// "Anim": a show and a hide animation, loaded at start-up with "preload", else on first use.
class DialogAnimEffectsData : public DialogEffectsData {
 public:
  VNResultEnum Load(const tinyxml2::XMLElement* element) override;
  VNResultEnum CreateEffects(Dialog* dialog, DialogEffects*& out) override;
  VNResultEnum GetShowAnim(resource::ResourcePtr<animation::AnimData>& out);
  VNResultEnum GetHideAnim(resource::ResourcePtr<animation::AnimData>& out);

  std::u16string mShowPath;
  std::u16string mHidePath;
  resource::ResourcePtr<animation::AnimData> mShowAnim;
  resource::ResourcePtr<animation::AnimData> mHideAnim;
  bool mPreload = false;
};

class DialogEffectsDataCreatorBase {
 public:
  virtual ~DialogEffectsDataCreatorBase() = default;
  virtual DialogEffectsData* Create() = 0;
};

template <class T>
class DialogEffectsDataCreator : public DialogEffectsDataCreatorBase {
 public:
  DialogEffectsData* Create() override { return new T; }
};

// The effects descriptions and the table from dialog names to them, read from the configuration.
class DialogEffectsManager : public base::Singletone<DialogEffectsManager> {
 public:
  DialogEffectsManager();
  ~DialogEffectsManager() override;

  // Its effects hold animation handles.
  std::vector<base::SingletoneBase*> GetDependencies() override;

  // 1 when the element name is already registered.
  VNResultEnum RegisterCreator(const std::string& elementName, std::unique_ptr<DialogEffectsDataCreatorBase> creator);
  // Reads the "Data" and "Dialogs" children; the first failure (logged with its element) is
  // returned; what was stored before it stays.
  VNResultEnum Load(const tinyxml2::XMLElement* section);
  // Null (and 0) for a dialog without an entry; 1 for an entry naming no description.
  VNResultEnum GetEffects(Dialog* dialog, DialogEffects*& out);

  // The renderer handed to the animations; set by the application before Load.
  void SetRender(render::Render* render) { mRender = render; }
  render::Render* GetRender() const { return mRender; }
  const std::map<std::string, std::string>& GetDialogTable() const { return mDialogs; }
  const std::map<std::string, DialogEffectsData*>& GetData() const { return mData; }
  // Empties the descriptions and the table (a new configuration).
  void Clear();

 private:
  std::map<std::string, void*> mFactories;  // reserved
  std::map<std::string, std::unique_ptr<DialogEffectsDataCreatorBase>> mCreators;
  std::map<std::string, DialogEffectsData*> mData;
  std::map<std::string, std::string> mDialogs;
  render::Render* mRender = nullptr;
};

}  // namespace widget
