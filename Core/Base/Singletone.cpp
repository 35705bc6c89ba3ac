#include "Core/Base/Singletone.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <queue>

#include "Core/Base/LogMessage.h"

namespace base {

namespace {

struct SingletoneRegistryData {
  std::recursive_mutex mutex;
  std::vector<SingletoneBase*> instances;
  std::vector<SingletoneRegistry::Pair> pairs;
  std::atomic<bool> tearingDown{false};
};

void DestroySingletonesAtExit() { SingletoneRegistry::DestroyAll(); }

// Never destroyed: destructors that run after teardown may still ask whether it is running.
SingletoneRegistryData& TheSingletoneRegistry() {
  static SingletoneRegistryData* data = [] {
    std::atexit(DestroySingletonesAtExit);
    return new SingletoneRegistryData;
  }();
  return *data;
}

std::ptrdiff_t SingletonePositionOf(const std::vector<SingletoneBase*>& instances, const SingletoneBase* item) {
  if (!item) return -1;
  const auto it = std::find(instances.begin(), instances.end(), item);
  return it == instances.end() ? -1 : it - instances.begin();
}

// Strongly connected components of the "must be destroyed before" graph (Tarjan). Each component
// lists its members in registration order.
class SingletoneComponents {
 public:
  explicit SingletoneComponents(const std::vector<std::vector<std::size_t>>& before)
      : mBefore(before), mIndex(before.size(), kNone), mLow(before.size(), 0), mOnStack(before.size(), false),
        mComponentOf(before.size(), 0) {
    for (std::size_t node = 0; node < before.size(); ++node) {
      if (mIndex[node] == kNone) Visit(node);
    }
    for (auto& members : mComponents) std::sort(members.begin(), members.end());
  }

  const std::vector<std::vector<std::size_t>>& Components() const { return mComponents; }
  std::size_t ComponentOf(std::size_t node) const { return mComponentOf[node]; }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // Recursion depth is bounded by the number of singletons, a few dozen at most.
  void Visit(std::size_t node) {
    mIndex[node] = mLow[node] = mNextIndex++;
    mStack.push_back(node);
    mOnStack[node] = true;
    for (std::size_t next : mBefore[node]) {
      if (mIndex[next] == kNone) {
        Visit(next);
        mLow[node] = std::min(mLow[node], mLow[next]);
      } else if (mOnStack[next]) {
        mLow[node] = std::min(mLow[node], mIndex[next]);
      }
    }
    if (mLow[node] != mIndex[node]) return;
    std::vector<std::size_t> members;
    std::size_t member;
    do {
      member = mStack.back();
      mStack.pop_back();
      mOnStack[member] = false;
      mComponentOf[member] = mComponents.size();
      members.push_back(member);
    } while (member != node);
    mComponents.push_back(std::move(members));
  }

  const std::vector<std::vector<std::size_t>>& mBefore;
  std::vector<std::size_t> mIndex;
  std::vector<std::size_t> mLow;
  std::vector<bool> mOnStack;
  std::vector<std::size_t> mComponentOf;
  std::vector<std::size_t> mStack;
  std::vector<std::vector<std::size_t>> mComponents;
  std::size_t mNextIndex = 0;
};

void LogSingletoneCycle(const std::vector<std::size_t>& members) {
  std::u16string positions;
  for (std::size_t member : members) {
    if (!positions.empty()) positions += u", ";
    positions += (Format(u"%d") % static_cast<int>(member)).GetResult();
  }
  LogBlock(u"Singleton dependency cycle between the singletons registered at %s; they are destroyed in "
           u"registration order.\n") %
      positions;
}

}  // namespace

void SingletoneRegistry::SortByDependencies(std::vector<SingletoneBase*>& instances,
                                            const std::vector<Pair>& pairs) {
  const std::size_t count = instances.size();
  // before[i]: the positions that must come after position i.
  std::vector<std::vector<std::size_t>> before(count);
  std::vector<bool> selfLoop(count, false);
  auto addEdge = [&](std::ptrdiff_t first, std::ptrdiff_t second) {
    if (first < 0 || second < 0) return;
    if (first == second) {
      selfLoop[static_cast<std::size_t>(first)] = true;
      return;
    }
    before[static_cast<std::size_t>(first)].push_back(static_cast<std::size_t>(second));
  };
  for (std::size_t i = 0; i < count; ++i) {
    if (!instances[i]) continue;
    for (SingletoneBase* dependency : instances[i]->GetDependencies()) {
      addEdge(static_cast<std::ptrdiff_t>(i), SingletonePositionOf(instances, dependency));
    }
  }
  for (const Pair& pair : pairs) addEdge(SingletonePositionOf(instances, pair.first), SingletonePositionOf(instances, pair.second));

  // Cycles collapse into one node each; the nodes are then ordered by Kahn's algorithm, always
  // taking the ready node registered first, so unrelated singletons keep registration order.
  const SingletoneComponents graph(before);
  const auto& components = graph.Components();
  std::vector<std::size_t> waitingOn(components.size(), 0);
  std::vector<std::vector<std::size_t>> followers(components.size());
  for (std::size_t node = 0; node < count; ++node) {
    for (std::size_t next : before[node]) {
      const std::size_t from = graph.ComponentOf(node);
      const std::size_t to = graph.ComponentOf(next);
      if (from == to) continue;
      followers[from].push_back(to);
      ++waitingOn[to];
    }
  }
  // A component is keyed by its first member's registration position.
  using Ready = std::pair<std::size_t, std::size_t>;
  std::priority_queue<Ready, std::vector<Ready>, std::greater<Ready>> ready;
  for (std::size_t c = 0; c < components.size(); ++c) {
    if (waitingOn[c] == 0) ready.emplace(components[c].front(), c);
  }
  std::vector<SingletoneBase*> sorted;
  sorted.reserve(count);
  while (!ready.empty()) {
    const std::size_t c = ready.top().second;
    ready.pop();
    const auto& members = components[c];
    if (members.size() > 1 || selfLoop[members.front()]) LogSingletoneCycle(members);
    for (std::size_t member : members) sorted.push_back(instances[member]);
    for (std::size_t next : followers[c]) {
      if (--waitingOn[next] == 0) ready.emplace(components[next].front(), next);
    }
  }
  instances.swap(sorted);
}

void SingletoneRegistry::DestroyAll() {
  SingletoneRegistryData& data = TheSingletoneRegistry();
  std::vector<SingletoneBase*> instances;
  std::vector<Pair> pairs;
  {
    std::lock_guard<std::recursive_mutex> lock(data.mutex);
    // Set first: a cycle's log entry must not create the main log now.
    data.tearingDown = true;
    instances = data.instances;
    pairs = data.pairs;
  }
  SortByDependencies(instances, pairs);
  {
    std::lock_guard<std::recursive_mutex> lock(data.mutex);
    data.instances = std::move(instances);
  }
  for (;;) {
    SingletoneBase* front = nullptr;
    {
      std::lock_guard<std::recursive_mutex> lock(data.mutex);
      if (data.instances.empty()) break;
      front = data.instances.front();
      data.instances.erase(data.instances.begin());
    }
    delete front;
  }
  std::lock_guard<std::recursive_mutex> lock(data.mutex);
  data.pairs.clear();
}

bool SingletoneRegistry::IsTearingDown() { return TheSingletoneRegistry().tearingDown.load(); }

void SingletoneRegistry::Register(SingletoneBase* instance) {
  SingletoneRegistryData& data = TheSingletoneRegistry();
  std::lock_guard<std::recursive_mutex> lock(data.mutex);
  data.instances.push_back(instance);
}

void SingletoneRegistry::Unregister(SingletoneBase* instance) {
  SingletoneRegistryData& data = TheSingletoneRegistry();
  std::lock_guard<std::recursive_mutex> lock(data.mutex);
  auto& instances = data.instances;
  instances.erase(std::remove(instances.begin(), instances.end(), instance), instances.end());
  auto& pairs = data.pairs;
  pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                             [&](const Pair& pair) { return pair.first == instance || pair.second == instance; }),
              pairs.end());
}

void SingletoneRegistry::AddPair(SingletoneBase* first, SingletoneBase* second) {
  SingletoneRegistryData& data = TheSingletoneRegistry();
  std::lock_guard<std::recursive_mutex> lock(data.mutex);
  data.pairs.emplace_back(first, second);
}

std::vector<SingletoneBase*> SingletoneRegistry::Instances() {
  SingletoneRegistryData& data = TheSingletoneRegistry();
  std::lock_guard<std::recursive_mutex> lock(data.mutex);
  return data.instances;
}

void SingletoneRegistry::Lock() { TheSingletoneRegistry().mutex.lock(); }
void SingletoneRegistry::Unlock() { TheSingletoneRegistry().mutex.unlock(); }

SingletoneBase::SingletoneBase() : mRegistered(true) { SingletoneRegistry::Register(this); }

SingletoneBase::SingletoneBase(Unregistered) : mRegistered(false) {}

SingletoneBase::~SingletoneBase() {
  if (mRegistered) SingletoneRegistry::Unregister(this);
}

std::vector<SingletoneBase*> SingletoneBase::GetDependencies() { return {}; }

void SingletoneBase::AddDependency(SingletoneBase* first, SingletoneBase* second) {
  SingletoneRegistry::AddPair(first, second);
}

}  // namespace base
