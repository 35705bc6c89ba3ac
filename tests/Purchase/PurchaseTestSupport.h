#pragma once
// The store front singleton emptied around each test, a recorder of outcomes, and application ticks.
#include <functional>
#include <string>
#include <vector>

#include "Core/Purchase/PurchaseSystem.h"
#include "tests/fakes/FileTestSupport.h"

namespace fakes {
class ScriptedStoreBackend;
}

namespace purchasetest {

// Every outcome seen, in order: "listener failed buy_a", "event #1 code 1 buy_a" (subscriber index),
// "event #1 with-code 1 0 buy_a".
using OutcomeLog = std::vector<std::string>;

class RecordingPurchaseListener : public purchase::PurchaseListener {
 public:
  explicit RecordingPurchaseListener(OutcomeLog* log) : mLog(log) {}
  void OnPurchaseSucceeded(purchase::Product* product) override;
  void OnPurchaseFailed(purchase::Product* product) override;

 private:
  OutcomeLog* mLog;
};

// A subscriber of the purchase-result event; unsubscribes when destroyed.
class ResultSubscriber {
 public:
  ResultSubscriber() = default;
  ResultSubscriber(const ResultSubscriber&) = delete;
  ResultSubscriber& operator=(const ResultSubscriber&) = delete;
  ~ResultSubscriber();

  // Subscribes the one-argument handler, and the two-argument one when withCode is set.
  void Subscribe(OutcomeLog* log, int index, bool withCode);
  void OnResult(TPurchaseResult const& result);
  VNResultEnum OnResultWithCode(TPurchaseResult const& result, int extra);

  // Runs (once) inside the next one-argument call, before it records.
  std::function<void()> mDuringResult;

 private:
  OutcomeLog* mLog = nullptr;
  int mIndex = 0;
};

// Runs in a temporary folder with an empty store front; leaves it empty, with no back end, no
// subscriber and no task queued on the application.
class StoreFrontTest : public filetest::TempFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  static purchase::PurchaseSystem* Store() { return purchase::PurchaseSystem::Instance(); }
  // Attaches a new scripted back end (owned by the store front) and returns it.
  static fakes::ScriptedStoreBackend* AttachBackend(bool available);
  // Writes path and loads it as the catalogue.
  static VNResultEnum LoadCatalogue(const std::string& path, const std::string& xml);
  // One tick of the application's task tree, as the run loop gives it.
  static void Tick();
  // Two ticks: the first takes a task queued now into the tree, the second runs action inside the
  // tree, as the game's code runs inside a frame.
  static void TickRunning(std::function<void()> action);
};

}  // namespace purchasetest
