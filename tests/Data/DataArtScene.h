#pragma once
// The data root as the current folder (no pack mounted), the recording renderer for the images and
// the art sets of every art folder that the code names, loaded as the battle map loads them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/fakes/RecordingRender.h"

class RuvArtSet;

namespace datatest {

class DataArtScene : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads, once per test, every folder path named in the code that opens as an art folder.
  void LoadCodeArtFolders();
  // The art set of that key; null when none was loaded.
  static RuvArtSet* FindArt(const std::string& key);
  // Every frame of the set has its image.
  static bool EveryFrameHasAnImage(RuvArtSet* set);

  fakes::RecordingRender mRender;
  std::filesystem::path mPrevious;
};

}  // namespace datatest
