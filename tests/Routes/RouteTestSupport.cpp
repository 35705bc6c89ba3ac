#include "tests/Routes/RouteTestSupport.h"

#include <tinyxml2.h>

namespace routetest {

RuvPoint MakePoint(int id, float x, float y, const std::string& mark) {
  tinyxml2::XMLDocument document;
  const std::string text = "<p>" + (mark.empty() ? "" : "<a name=\"" + mark + "\" value=\"1\"/>") + "</p>";
  document.Parse(text.c_str());
  RuvPoint point;
  point.id = id;
  point.x = x;
  point.y = y;
  point.attributes = RuvAttributes(document.RootElement());
  return point;
}

RuvLink MakeLink(int startId, int endId) {
  RuvLink link;
  link.startId = startId;
  link.endId = endId;
  return link;
}

}  // namespace routetest
