#include "Core/Base/Singletone.h"

#include <algorithm>
#include <cstdlib>

namespace base {

namespace {

struct RegistryData {
  std::vector<SingletoneBase*> instances;
  std::vector<SingletoneRegistry::Pair> pairs;
  bool tearingDown = false;
};

void DestroyAtExit() { SingletoneRegistry::DestroyAll(); }

RegistryData& Data() {
  static RegistryData* data = [] {
    std::atexit(DestroyAtExit);
    return new RegistryData;
  }();
  return *data;
}

std::ptrdiff_t PositionOf(const std::vector<SingletoneBase*>& instances, const SingletoneBase* item) {
  const auto it = std::find(instances.begin(), instances.end(), item);
  return it == instances.end() ? -1 : it - instances.begin();
}

}  // namespace

void SingletoneRegistry::SortByDependencies(std::vector<SingletoneBase*>& instances,
                                            const std::vector<Pair>& pairs) {
  // Each pass fixes at least one inversion of an acyclic order; more passes than this means a cycle.
  const std::size_t maxPasses = (instances.size() + 1) * (instances.size() + 1) + pairs.size();
  for (std::size_t pass = 0; pass < maxPasses; ++pass) {
    bool changed = false;
    for (std::size_t i = 0; i < instances.size() && !changed; ++i) {
      if (!instances[i]) continue;
      for (SingletoneBase* dependency : instances[i]->GetDependencies()) {
        const std::ptrdiff_t j = PositionOf(instances, dependency);
        if (j >= 0 && static_cast<std::size_t>(j) < i) {
          std::swap(instances[static_cast<std::size_t>(j)], instances[i]);
          changed = true;
          break;
        }
      }
    }
    for (const Pair& pair : pairs) {
      const std::ptrdiff_t first = PositionOf(instances, pair.first);
      const std::ptrdiff_t second = PositionOf(instances, pair.second);
      if (first >= 0 && second >= 0 && second < first) {
        std::swap(instances[static_cast<std::size_t>(first)], instances[static_cast<std::size_t>(second)]);
        changed = true;
      }
    }
    if (!changed) return;
  }
}

void SingletoneRegistry::DestroyAll() {
  RegistryData& data = Data();
  data.tearingDown = true;
  SortByDependencies(data.instances, data.pairs);
  while (!data.instances.empty()) {
    SingletoneBase* front = data.instances.front();
    data.instances.erase(data.instances.begin());
    delete front;
  }
  data.pairs.clear();
}

bool SingletoneRegistry::IsTearingDown() { return Data().tearingDown; }

void SingletoneRegistry::Register(SingletoneBase* instance) { Data().instances.push_back(instance); }

void SingletoneRegistry::AddPair(SingletoneBase* first, SingletoneBase* second) {
  Data().pairs.emplace_back(first, second);
}

const std::vector<SingletoneBase*>& SingletoneRegistry::Instances() { return Data().instances; }

SingletoneBase::SingletoneBase() { SingletoneRegistry::Register(this); }

SingletoneBase::~SingletoneBase() = default;

std::vector<SingletoneBase*> SingletoneBase::GetDependencies() { return {}; }

void SingletoneBase::AddDependency(SingletoneBase* first, SingletoneBase* second) {
  SingletoneRegistry::AddPair(first, second);
}

}  // namespace base
