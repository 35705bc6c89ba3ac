#include "Game/Battle/RuvRoutes.h"

bool RuvPoint::isSpawn() const { return attributes.getFloat("spawn") == 1.0f; }

bool RuvPoint::isGoal() const { return attributes.getFloat("goal") == 1.0f; }
