#include "Core/Base/Singletone.h"

#include "Core/Base/Log.h"
#include "fakes/MainLogRecorder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Pair = base::SingletoneRegistry::Pair;

// A node of a sort case. It stays out of the process-wide registry, so the cases leave nothing
// behind for the teardown tests.
class Node : public base::SingletoneBase {
 public:
  explicit Node(char name) : SingletoneBase(Unregistered{}), mName(name) {}
  std::vector<base::SingletoneBase*> GetDependencies() override { return mDependencies; }
  char mName;
  std::vector<base::SingletoneBase*> mDependencies;
};

struct SortCase {
  const char* name;
  const char* order;                       // construction order
  std::vector<std::string> dependencies;   // "ab": a depends on b (b destroyed after a)
  std::vector<std::string> pairs;          // "ab": a destroyed before b
  const char* expected;
};

void PrintTo(const SortCase& c, std::ostream* os) { *os << c.name; }

class SingletoneSortTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SingletoneSortTest, GivesExpectedDestructionOrder) {
  const SortCase& c = GetParam();
  std::vector<std::unique_ptr<Node>> nodes;
  auto find = [&](char name) -> Node* {
    for (const auto& node : nodes) {
      if (node->mName == name) return node.get();
    }
    // A name outside the order stands for a singleton that is not in the sorted list.
    nodes.push_back(std::make_unique<Node>(name));
    return nodes.back().get();
  };
  std::vector<base::SingletoneBase*> instances;
  for (const char* p = c.order; *p; ++p) instances.push_back(find(*p));
  for (const std::string& d : c.dependencies) find(d[0])->mDependencies.push_back(find(d[1]));
  std::vector<Pair> pairs;
  for (const std::string& p : c.pairs) pairs.emplace_back(find(p[0]), find(p[1]));

  base::SingletoneRegistry::SortByDependencies(instances, pairs);

  std::string order;
  for (auto* instance : instances) order += static_cast<Node*>(instance)->mName;
  EXPECT_EQ(order, c.expected);
  for (base::SingletoneBase* registered : base::SingletoneRegistry::Instances()) {
    for (const auto& node : nodes) EXPECT_NE(registered, node.get()) << node->mName << " is registered";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingletoneSortTest,
    ::testing::Values(
        SortCase{"none", "abc", {}, {}, "abc"},
        SortCase{"dependencyBeforeDependent", "ab", {"ba"}, {}, "ba"},
        SortCase{"chain", "abc", {"ba", "cb"}, {}, "cba"},
        SortCase{"unrelatedKeepRegistrationOrder", "abcd", {"da"}, {}, "bcda"},
        SortCase{"pairAlreadyInOrder", "ab", {}, {"ab"}, "ab"},
        SortCase{"pairReversed", "ab", {}, {"ba"}, "ba"},
        SortCase{"unregisteredDependencyIgnored", "ab", {"az"}, {"zb"}, "ab"},
        SortCase{"engineOrder", "ARLSP", {"SR", "PL"}, {"AR"}, "ASRPL"},
        SortCase{"dependencyAndPairTogether", "abc", {"ca"}, {"ba"}, "bca"},
        SortCase{"longChainAgainstRegistration", "abcde", {"ba", "cb", "dc", "ed"}, {}, "edcba"},
        SortCase{"cycleKeepsRegistrationOrder", "ab", {"ab", "ba"}, {}, "ab"},
        SortCase{"cycleOfThreeThroughAPair", "cab", {"ab", "bc"}, {"ca"}, "cab"},
        SortCase{"selfDependency", "ab", {"aa", "ba"}, {}, "ba"},
        // A cycle does not stop the rest from being put right.
        SortCase{"cycleLeavesOtherDependenciesSorted", "xyabc", {"xy", "yx", "ca"}, {}, "xybca"},
        SortCase{"cycleAfterItsDependent", "abc", {"ab", "ba", "cb"}, {}, "cab"},
        SortCase{"cycleBeforeItsDependency", "abc", {"ab", "ba", "ac"}, {}, "abc"},
        SortCase{"dependencyOfCycleMovesBehindIt", "cab", {"ab", "ba", "bc"}, {}, "abc"}),
    [](const auto& info) { return std::string(info.param.name); });

// A singleton that reports its destruction on standard error.
template <char Name>
class Reporter : public base::Singletone<Reporter<Name>> {
 public:
  ~Reporter() override { std::fprintf(stderr, "%c", Name); }
  std::vector<base::SingletoneBase*> GetDependencies() override {
    if (Name == 'c') return {Reporter<'a'>::Instance()};  // a must outlive c
    return {};
  }
};

TEST(SingletoneTeardownTest, ProcessExitDestroysInDependencyOrderAndClearsGetters) {
  EXPECT_EXIT(
      {
        Reporter<'a'>::Instance();
        Reporter<'b'>::Instance();
        Reporter<'c'>::Instance();
        base::SingletoneBase::AddDependency(Reporter<'b'>::Instance(), Reporter<'a'>::Instance());
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "^bca$");
}

// Reports on standard error each log entry about a cycle, as "L".
class CycleEntryReporter : public base::LogOutput {
 public:
  void Write(const std::u16string& text) override {
    if (text.find(u"cycle") != std::u16string::npos) std::fprintf(stderr, "L");
  }
};

// A cycle between x and y, registered first, spoiled the whole order before.
template <char Name>
class CycleReporter : public base::Singletone<CycleReporter<Name>> {
 public:
  ~CycleReporter() override { std::fprintf(stderr, "%c", Name); }
  std::vector<base::SingletoneBase*> GetDependencies() override {
    return {Name == 'x' ? static_cast<base::SingletoneBase*>(CycleReporter<'y'>::Instance())
                        : static_cast<base::SingletoneBase*>(CycleReporter<'x'>::Instance())};
  }
};

TEST(SingletoneTeardownTest, CycleIsLoggedOnceAndTheRestStaysInOrder) {
  EXPECT_EXIT(
      {
        base::MainLog::Instance()->AddTextOutput(std::make_unique<CycleEntryReporter>());
        CycleReporter<'x'>::Instance();
        CycleReporter<'y'>::Instance();
        Reporter<'a'>::Instance();
        Reporter<'b'>::Instance();
        Reporter<'c'>::Instance();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "^Lxybca$");
}

TEST(SingletoneSortLogTest, EachCycleIsLoggedOnceAndAnAcyclicSortLogsNothing) {
  struct LogNode : base::SingletoneBase {
    LogNode() : SingletoneBase(Unregistered{}) {}
    std::vector<base::SingletoneBase*> GetDependencies() override { return mDependencies; }
    std::vector<base::SingletoneBase*> mDependencies;
  } a, b, c, d;
  std::vector<base::SingletoneBase*> instances{&a, &b, &c, &d};
  {
    fakes::MainLogRecorder log;
    base::SingletoneRegistry::SortByDependencies(instances, {{&a, &b}, {&c, &d}});
    EXPECT_EQ(log.Text(), u"");
  }
  a.mDependencies = {&b};
  b.mDependencies = {&a};
  c.mDependencies = {&d};
  d.mDependencies = {&c};
  fakes::MainLogRecorder log;
  base::SingletoneRegistry::SortByDependencies(instances, {{&a, &b}});
  const std::u16string text = log.Text();
  size_t entries = 0;
  for (size_t at = text.find(u"cycle"); at != std::u16string::npos; at = text.find(u"cycle", at + 1)) ++entries;
  EXPECT_EQ(entries, 2u) << std::string(text.begin(), text.end());
  EXPECT_NE(text.find(u"registered at 0, 1;"), std::u16string::npos);
  EXPECT_NE(text.find(u"registered at 2, 3;"), std::u16string::npos);
}

TEST(SingletoneTeardownTest, DestroyedSingletonLeavesTheRegistryAndCanBeCreatedAgain) {
  Reporter<'r'>* first = Reporter<'r'>::Instance();
  const size_t registered = base::SingletoneRegistry::Instances().size();
  testing::internal::CaptureStderr();
  delete first;
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "r");
  EXPECT_FALSE(Reporter<'r'>::Exists());
  EXPECT_EQ(base::SingletoneRegistry::Instances().size(), registered - 1);
  EXPECT_NE(Reporter<'r'>::Instance(), nullptr);
  EXPECT_EQ(base::SingletoneRegistry::Instances().size(), registered);
  testing::internal::CaptureStderr();
  delete Reporter<'r'>::Instance();  // nothing is left for the teardown tests
  testing::internal::GetCapturedStderr();
}

TEST(SingletoneTeardownTest, GetterCreatesNothingDuringTeardown) {
  EXPECT_EXIT(
      {
        Reporter<'x'>::Instance();
        base::SingletoneRegistry::DestroyAll();
        std::fprintf(stderr, "%s", Reporter<'x'>::Instance() == nullptr ? "null" : "recreated");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "^xnull$");
}

}  // namespace
