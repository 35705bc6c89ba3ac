#pragma once
// A cast spell: a bullet without tower and target that lays its areas down at the cast and, while
// it lasts, hurts every unit entering its circle once.
#include "Game/Battle/RuvBullet.h"

class RuvMap;

class RuvSpell : public RuvBullet {
 public:
  RuvSpell(RuvMap& map, int protoId);

  // The cast at position, with the upgraded prototype: splash, areas, effect, sprites.
  void cast();
  // Game seconds: alive for the library prototype's "speed"; units newly inside lose "strength".
  void update(float dt) override;

  int protoId;
};

// The playback speed of a spell's cast effect: the library duration over the upgraded one, so a
// lengthened spell plays slower; 1 stands in for a duration that is not above 0.
float spellEffectSpeed(float libraryDuration, float upgradedDuration);
