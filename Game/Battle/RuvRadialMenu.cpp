#include "Game/Battle/RuvRadialMenu.h"

void RuvRadialMenu::update(float dt) {
  timer += dt;
  if (phase == kOpening && timer > kTransitionSeconds) {
    phase = kOpen;
    timer = 0.0f;
  } else if (phase == kClosing && timer > kTransitionSeconds) {
    active = 0;
    phase = kOpen;
  }
}
