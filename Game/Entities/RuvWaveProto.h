#pragma once
// Waves and their spawn entries. The map tells a wave when one of its units leaves the game.

class RuvWaveProto;

// One spawn entry of a wave; owned by its wave.
struct RuvWaveEntry {
  int state = -1;  // -1 waiting, 7 spawned, 2 killed, 3 got through
  int protoId = 0;
  RuvWaveProto* wave = nullptr;
};

// One wave; owned by the wave manager.
class RuvWaveProto {
 public:
  virtual ~RuvWaveProto() = default;
  // A unit of the wave left the game (killed, or through to the goal) at seconds of level time.
  virtual void onUnitKilled(int protoId, float seconds, RuvWaveEntry* entry) {
    (void)protoId;
    (void)seconds;
    (void)entry;
  }
};
