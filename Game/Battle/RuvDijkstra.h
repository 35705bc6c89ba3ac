#pragma once
#include <vector>

class RuvGraph;
struct RuvPoint;

// One node of a route search; nodes exist only during one search.
struct DijkstraNode {
  static constexpr float kUnreached = 10000000.0f;

  const RuvPoint* point = nullptr;
  int previous = -1;  // index of the previous node, -1 at first
  float distance = kUnreached;
  bool visited = false;
  std::vector<int> neighbourIds;  // in link order, without duplicates
};

// Fills the node list the solver searches.
class DijkstraDataExtractor {
 public:
  virtual ~DijkstraDataExtractor() = default;
  virtual void extract(const RuvGraph& graph) = 0;

  std::vector<DijkstraNode>& nodes() { return mNodes; }

 protected:
  std::vector<DijkstraNode> mNodes;
};

// One node per point in document order; the neighbours are the points at the other end of each
// link touching the point (the point itself for a link to itself), ids that are no point skipped.
class MapExtractor : public DijkstraDataExtractor {
 public:
  void extract(const RuvGraph& graph) override;
};

// Shortest routes over the extracted nodes, step costs being straight distances between points.
class Dijkstra {
 public:
  Dijkstra(DijkstraDataExtractor& extractor, const RuvGraph& graph) : mExtractor(extractor), mGraph(graph) {}

  // Point ids from start to goal; empty when either is not a node, when they are the same, or when
  // the goal is not reached. Equal distances keep the earlier route (nodes in document order).
  std::vector<int> findPath(const RuvPoint& start, const RuvPoint& goal);

 private:
  DijkstraDataExtractor& mExtractor;
  const RuvGraph& mGraph;
};
