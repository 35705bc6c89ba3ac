#include <gtest/gtest.h>

#include "Core/App/Application.h"
#include "Core/File/Profiles.h"

namespace {

TEST(SecondInstanceTest, ApplicationHandsTheFlagToTheProfilesWithoutCreatingThem) {
  const bool profilesExisted = file::Profiles::Exists();
  app::Application::SetSecondInstance(true);
  EXPECT_TRUE(app::Application::IsSecondInstance());
  EXPECT_TRUE(file::Profiles::IsSecondInstance());
  EXPECT_EQ(file::Profiles::Exists(), profilesExisted);

  app::Application::SetSecondInstance(false);
  EXPECT_FALSE(file::Profiles::IsSecondInstance());
}

}  // namespace
