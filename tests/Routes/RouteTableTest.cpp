#include <gtest/gtest.h>

#include "Game/Battle/RuvRoutes.h"

TEST(RouteTable, StartsEmpty) {
  RuvRouteTable table;
  EXPECT_TRUE(table.empty());
}
