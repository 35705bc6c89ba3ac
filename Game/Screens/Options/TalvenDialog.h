#pragma once
#include <string>

#include "Core/Gui/GameControl.h"
#include "Core/Render/Font.h"
#include "Core/Resource/ResourcePtr.h"
#include "Core/Widget/Dialog.h"

namespace layer {
class TextLayer;
}
namespace widget {
class FrameManager;
}

// A dialog built from one layout: disabled while its show or hide effect runs, with localised
// texts placed on named layout layers. Its builder part owns the layers it makes.
class TalvenDialog : public widget::Dialog, public gui::GameControlHelper {
 public:
  // Disabled until shown.
  TalvenDialog();

  // Builds the dialog and shows it modally at the manager's next update. A dialog whose build
  // fails is logged and deleted instead: half built it could block the frames below for good.
  static VNResultEnum ShowModal(widget::FrameManager* manager, TalvenDialog* dialog);
  // The root board's font of that name, loaded here when nobody has loaded it yet; empty when it
  // cannot be had.

  // Enabled once the show effect has ended.
  VNResultEnum OnShown() override;
  // Disabled again while the hide effect runs.
  VNResultEnum Hide(bool deleteAfterClose) override;

  // A centred text of key on the centre of the layout layer; 1 when the layout lacks the layer.
  VNResultEnum AddText(const std::u16string& layerName, const std::u16string& key,
                       const resource::ResourcePtr<render::Font>& font, layer::TextLayer** out = nullptr);
};
