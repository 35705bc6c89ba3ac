#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}
class RuvProgress;

// One command of a step's list: its name and value (default 0).
struct RuvTutorialCmd {
  std::u16string param;
  int value = 0;
};

using RuvTutorialCmdList = std::vector<RuvTutorialCmd>;

// A step of the tutorial file: the event that activates it, the event that completes it, the
// level it is bound to, its commands and the layout folder it shows.
class RuvTutorialStep {
 public:
  // The step of a "step" element; its state comes from the profile (entry created when missing)
  // or is 0 without one. Null, with a log line, when a required attribute or child is missing.
  static std::unique_ptr<RuvTutorialStep> read(const tinyxml2::XMLElement& element, RuvProgress* progress);

  // True when the step is not bound (shop other than -1) or the map plays its level.
  bool conditionHolds(int mapEpisode, int mapLevel) const;

  int id = 0;
  int state = 0;  // 0 new, 1 active, 2 done: the profile's state as last read
  std::u16string activateEvent;
  std::u16string completeEvent;
  int level = 0;
  int episode = 0;
  int shop = 0;  // -1: bound to level and episode
  std::unique_ptr<RuvTutorialCmdList> cmds;            // null without "cmds"
  std::unique_ptr<RuvTutorialCmdList> onCompleteCmds;  // null without "onComplete"
  std::u16string folder;
  std::map<std::u16string, std::u16string> texts;  // text place (full layer name) -> text
};
