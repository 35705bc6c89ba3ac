#pragma once
// Small graphs for the route tests.
#include <string>

#include "Game/Battle/RuvRoutes.h"

namespace routetest {

// A point with an optional mark ("spawn" or "goal") set to 1 in its attribute bag.
RuvPoint MakePoint(int id, float x, float y, const std::string& mark = "");
RuvLink MakeLink(int startId, int endId);

}  // namespace routetest
