#pragma once
// A temporary data root (with the game tables' user folder) for the sheet and prototype tests; the
// art cache the prototypes fill is deleted after each test.
#include <string>

#include "gamesupport/GameTestSupport.h"

namespace tinyxml2 {
class XMLElement;
}

namespace entitiestest {

class SheetFolderTest : public gametest::GameFolderTest {
 protected:
  void TearDown() override;
};

// An element and its descendants as compact XML, attributes in document order.
std::string CompactXml(const tinyxml2::XMLElement* element);

}  // namespace entitiestest
