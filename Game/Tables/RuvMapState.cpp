#include "Game/Tables/RuvMapState.h"

#include "Game/Tables/RuvProgress.h"

bool RuvMapState::isEpisodeAvailable(int episode) {
  if (levelCount(episode, false) <= 0) return false;
  RuvProgress* progress = getProgress();
  const int stars = progress ? progress->getStarCount(-1) : 0;
  return stars >= starsNeeded(episode);
}
