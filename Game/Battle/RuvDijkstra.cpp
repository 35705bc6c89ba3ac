#include "Game/Battle/RuvDijkstra.h"

#include <algorithm>

#include "Game/Battle/RuvRoutes.h"

void MapExtractor::extract(const RuvGraph& graph) {
  mNodes.clear();
  mNodes.reserve(graph.points().size());
  for (const RuvPoint& point : graph.points()) {
    DijkstraNode node;
    node.point = &point;
    for (const RuvLink& link : graph.links()) {
      int other;
      if (link.startId == point.id) {
        other = link.endId;
      } else if (link.endId == point.id) {
        other = link.startId;
      } else {
        continue;
      }
      if (!graph.findPoint(other)) continue;
      if (std::find(node.neighbourIds.begin(), node.neighbourIds.end(), other) != node.neighbourIds.end()) continue;
      node.neighbourIds.push_back(other);
    }
    mNodes.push_back(std::move(node));
  }
}

namespace {

int firstNodeWithId(const std::vector<DijkstraNode>& nodes, int id) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].point->id == id) return static_cast<int>(i);
  }
  return -1;
}

// The unvisited node nearest the start, the earliest on ties; -1 when every node is visited.
int nextDijkstraNode(const std::vector<DijkstraNode>& nodes) {
  int best = -1;
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].visited || nodes[i].distance >= DijkstraNode::kUnreached + 1.0f) continue;
    if (best < 0 || nodes[i].distance < nodes[best].distance) best = static_cast<int>(i);
  }
  return best;
}

}  // namespace

std::vector<int> Dijkstra::findPath(const RuvPoint& start, const RuvPoint& goal) {
  std::vector<DijkstraNode>& nodes = mExtractor.nodes();
  const int startNode = firstNodeWithId(nodes, start.id);
  const int goalNode = firstNodeWithId(nodes, goal.id);
  if (startNode < 0 || goalNode < 0 || startNode == goalNode) return {};

  nodes[startNode].distance = 0.0f;
  for (int current = startNode; current >= 0; current = nextDijkstraNode(nodes)) {
    DijkstraNode& node = nodes[current];
    node.visited = true;
    for (int id : node.neighbourIds) {
      DijkstraNode& next = nodes[firstNodeWithId(nodes, id)];
      if (next.visited) continue;
      const float distance = node.distance + mGraph.linkDistance(*node.point, *next.point);
      if (next.distance > distance) {
        next.previous = current;
        next.distance = distance;
      }
    }
  }

  // Read backwards from the goal; a goal without a previous node was never reached.
  std::vector<int> route;
  for (int at = goalNode; at != startNode; at = nodes[at].previous) {
    if (at < 0) return {};
    route.push_back(nodes[at].point->id);
  }
  route.push_back(start.id);
  std::reverse(route.begin(), route.end());
  return route;
}
