#include "Core/Base/Singletone.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Pair = base::SingletoneRegistry::Pair;

// A node of a sort case. Constructing it registers it; the registry deletes it at exit.
class Node : public base::SingletoneBase {
 public:
  explicit Node(char name) : mName(name) {}
  std::vector<base::SingletoneBase*> GetDependencies() override { return mDependencies; }
  char mName;
  std::vector<base::SingletoneBase*> mDependencies;
};

struct SortCase {
  const char* name;
  const char* order;                       // construction order
  std::vector<std::string> dependencies;   // "ab": a depends on b (b destroyed after a)
  std::vector<std::string> pairs;          // "ab": a destroyed before b
  const char* expected;  // null: only that the sort ends
};

void PrintTo(const SortCase& c, std::ostream* os) { *os << c.name; }

class SingletoneSortTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SingletoneSortTest, GivesExpectedDestructionOrder) {
  const SortCase& c = GetParam();
  std::vector<Node*> nodes;
  auto find = [&](char name) -> Node* {
    for (Node* node : nodes) {
      if (node->mName == name) return node;
    }
    nodes.push_back(new Node(name));  // a name outside the order stands for an unregistered node
    return nodes.back();
  };
  std::vector<base::SingletoneBase*> instances;
  for (const char* p = c.order; *p; ++p) instances.push_back(find(*p));
  for (const std::string& d : c.dependencies) find(d[0])->mDependencies.push_back(find(d[1]));
  std::vector<Pair> pairs;
  for (const std::string& p : c.pairs) pairs.emplace_back(find(p[0]), find(p[1]));

  base::SingletoneRegistry::SortByDependencies(instances, pairs);

  std::string order;
  for (auto* instance : instances) order += static_cast<Node*>(instance)->mName;
  if (c.expected) {
    EXPECT_EQ(order, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingletoneSortTest,
    ::testing::Values(
        SortCase{"none", "abc", {}, {}, "abc"},
        SortCase{"dependencyBeforeDependent", "ab", {"ba"}, {}, "ba"},
        SortCase{"chain", "abc", {"ba", "cb"}, {}, "cba"},
        SortCase{"swapOnlyExchangesTwo", "abcd", {"da"}, {}, "dbca"},
        SortCase{"pairAlreadyInOrder", "ab", {}, {"ab"}, "ab"},
        SortCase{"pairReversed", "ab", {}, {"ba"}, "ba"},
        SortCase{"unregisteredDependencyIgnored", "ab", {"az"}, {"zb"}, "ab"},
        SortCase{"engineOrder", "ARLSP", {"SR", "PL"}, {"AR"}, "ASPRL"},
        SortCase{"cycleEndsAfterPassLimit", "ab", {"ab", "ba"}, {}, nullptr}),
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
      ::testing::ExitedWithCode(0), "^cba$");
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
