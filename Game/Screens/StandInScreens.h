#pragma once
// TEMPORARY stand-ins for the shops, with only what the battle map, the HUD and
// the dialogs call. The real classes replace this file.
#include <string>
#include <utility>

#include "Core/Base/Singletone.h"
#include "Game/Screens/HUDWindow.h"

// A shop screen without layout: kind is "shop", "gem_shop" or "boost_shop".
class HUDShopStandIn : public HUDWindow {
 public:
  HUDShopStandIn(std::u16string shopKind, int fromLevel) : kind(std::move(shopKind)), openedFromLevel(fromLevel) {}

  std::u16string kind;
  int openedFromLevel;
};
