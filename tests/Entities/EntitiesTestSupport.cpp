#include "EntitiesTestSupport.h"

#include <tinyxml2.h>

#include "Game/Art/RuvResources.h"

namespace entitiestest {

void SheetFolderTest::TearDown() {
  if (RuvResources::Exists()) delete RuvResources::Instance();
  GameFolderTest::TearDown();
}

std::string CompactXml(const tinyxml2::XMLElement* element) {
  tinyxml2::XMLPrinter printer(nullptr, true);
  element->Accept(&printer);
  return printer.CStr();
}

}  // namespace entitiestest
