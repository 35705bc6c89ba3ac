#include "Game/Entities/RuvProtos.h"

void RuvProto::load(const tinyxml2::XMLElement*, bool) {}
void RuvProto::copyFrom(const RuvProto&) {}
const RuvProto* RuvProto::findTier(int) const { return nullptr; }
const RuvProto* RuvProto::tierForLevel(int) const { return this; }

RuvProtoLibrary::RuvProtoLibrary(const tinyxml2::XMLElement* data) { load(data); }
void RuvProtoLibrary::load(const tinyxml2::XMLElement*) { mList.clear(); }
RuvProto* RuvProtoLibrary::findProto(int) const { return nullptr; }
std::unique_ptr<RuvProto> RuvProtoLibrary::makeUpgradedProto(int, const RuvUpgrades*) const { return nullptr; }
