#include "Game/Battle/RuvSpot.h"

#include <cmath>

#include "Game/Battle/RuvLevelFile.h"

RuvSpot::RuvSpot(const RuvLevelSpot& definition)
    : cost_gold(static_cast<int>(std::trunc(definition.attributes.getFloat("cost_gold")))),
      cost_real(static_cast<int>(std::trunc(definition.attributes.getFloat("cost_real")))),
      kind(static_cast<int>(std::trunc(definition.attributes.getFloat("type")))),
      attributes(definition.attributes),
      x(definition.x),
      y(definition.y),
      isFree(cost_gold == 0 && cost_real == 0 ? 1 : 0) {}
