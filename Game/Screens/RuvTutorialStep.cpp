#include "Game/Screens/RuvTutorialStep.h"

#include <tinyxml2.h>

#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"

namespace {

std::u16string tutorialStepWide(const char* text) { return base::ToWide(text, base::kEncodingUtf8); }

// The commands of a list element; a "cmd" without its name is left out.
std::unique_ptr<RuvTutorialCmdList> readTutorialCmds(const tinyxml2::XMLElement* list, int stepId) {
  if (!list) return nullptr;
  auto cmds = std::make_unique<RuvTutorialCmdList>();
  for (const tinyxml2::XMLElement* cmd = list->FirstChildElement("cmd"); cmd; cmd = cmd->NextSiblingElement("cmd")) {
    const char* param = cmd->Attribute("param");
    if (!param) {
      base::LogBlock(u"RuvTutorial: a command of step %d has no 'param'; it is left out.\n") % stepId;
      continue;
    }
    cmds->push_back(RuvTutorialCmd{tutorialStepWide(param), cmd->IntAttribute("value", 0)});
  }
  return cmds;
}

}  // namespace

std::unique_ptr<RuvTutorialStep> RuvTutorialStep::read(const tinyxml2::XMLElement& element, RuvProgress* progress) {
  const int id = element.IntAttribute("id", 0);
  const char* activate = element.Attribute("activate");
  const char* complete = element.Attribute("complete");
  const tinyxml2::XMLElement* condition = element.FirstChildElement("condition");
  const tinyxml2::XMLElement* show = element.FirstChildElement("show");
  const char* folder = show ? show->Attribute("folder") : nullptr;
  if (!activate || !complete || !condition || !folder) {
    base::LogBlock(u"RuvTutorial: step %d lacks 'activate', 'complete', 'condition' or the folder of 'show'; "
                   u"it is left out.\n") %
        id;
    return nullptr;
  }
  auto step = std::make_unique<RuvTutorialStep>();
  step->id = id;
  step->state = progress ? progress->getTutorialStepState(id) : 0;
  step->shop = condition->IntAttribute("shop", 0);
  step->level = condition->IntAttribute("level", 0);
  step->episode = condition->IntAttribute("episode", 0);
  step->activateEvent = tutorialStepWide(activate);
  step->completeEvent = tutorialStepWide(complete);
  step->folder = tutorialStepWide(folder);
  step->cmds = readTutorialCmds(element.FirstChildElement("cmds"), id);
  step->onCompleteCmds = readTutorialCmds(element.FirstChildElement("onComplete"), id);
  for (const tinyxml2::XMLElement* text = show->FirstChildElement("text"); text;
       text = text->NextSiblingElement("text")) {
    const char* place = text->Attribute("place");
    const char* key = text->Attribute("string");
    if (!place || !key) {
      base::LogBlock(u"RuvTutorial: a text of step %d lacks 'place' or 'string'; it is left out.\n") % id;
      continue;
    }
    step->texts[tutorialStepWide(place)] = LocalStrings::Instance()->get(tutorialStepWide(key));
  }
  return step;
}

bool RuvTutorialStep::conditionHolds(int mapEpisode, int mapLevel) const {
  return shop != -1 || (mapEpisode == episode && mapLevel == level);
}
