#include "Core/Base/StaticEvent.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Listener {
  std::string* log;
  char name;
  void OnMode(bool windowed) { *log += std::string(1, name) + (windowed ? "W" : "F"); }
  VNResultEnum OnModeCode(bool windowed, int code) {
    *log += std::string(1, name) + (windowed ? "w" : "f") + std::to_string(code);
    return VN_OK;
  }
};

base::DelegatePtr<base::StaticEvent::Handler> Bind(Listener& listener) {
  return base::DelegatePtr<base::StaticEvent::Handler>(
      new base::MemberDelegate1<Listener, bool>(&listener, &Listener::OnMode));
}

TEST(StaticEventTest, CallsBothHandlersOfEveryListenerInAddressOrder) {
  std::string log;
  Listener pair[2] = {{&log, 'a'}, {&log, 'b'}};
  base::StaticEvent::Subscribe(&pair[1], Bind(pair[1]));
  base::StaticEvent::Subscribe(&pair[0], Bind(pair[0]));
  base::StaticEvent::SubscribeWithCode(
      &pair[1], base::DelegatePtr<base::StaticEvent::HandlerWithCode>(
                    new base::MemberDelegate2<Listener, bool, int>(&pair[1], &Listener::OnModeCode)));
  base::StaticEvent::Fire(true);
  EXPECT_EQ(log, "aWbw0bW");
  base::StaticEvent::Unsubscribe(&pair[0]);
  base::StaticEvent::Unsubscribe(&pair[1]);
  log.clear();
  base::StaticEvent::Fire(false);
  EXPECT_EQ(log, "");
}

// Counts its own destruction, to see when the last handle deletes it.
struct CountedDelegate : base::Delegate1<bool, void> {
  explicit CountedDelegate(int* deaths) : mDeaths(deaths) {}
  ~CountedDelegate() override { ++*mDeaths; }
  const void* Target() const override { return nullptr; }
  const void* Method() const override { return nullptr; }
  void Invoke(bool) override {}
  int* mDeaths;
};

TEST(DelegatePtrTest, LastHandleDeletesTheDelegate) {
  int deaths = 0;
  {
    base::DelegatePtr<base::Delegate1<bool, void>> first(new CountedDelegate(&deaths));
    base::DelegatePtr<base::Delegate1<bool, void>> second = first;
    first.Reset();
    EXPECT_EQ(deaths, 0);
    second = second;  // self-assignment keeps it
    EXPECT_EQ(deaths, 0);
    second.Reset(new CountedDelegate(&deaths));
    EXPECT_EQ(deaths, 1);
  }
  EXPECT_EQ(deaths, 2);
}

}  // namespace
