#include "PurchaseTestSupport.h"

#include "Core/App/Application.h"
#include "Core/Base/Task.h"
#include "fakes/ScriptedStoreBackend.h"

namespace purchasetest {

namespace {

std::string PurchaseTestName(const purchase::Product* product) {
  std::string name;
  for (char16_t c : product->name) name += static_cast<char>(c);
  return name;
}

class PurchaseTestActionTask : public base::Task {
 public:
  explicit PurchaseTestActionTask(std::function<void()> action)
      : Task(true, false, false, false), mAction(std::move(action)) {}
  VNResultEnum Update(float) override {
    mAction();
    Stop();
    return VN_OK;
  }

 private:
  std::function<void()> mAction;
};

}  // namespace

void RecordingPurchaseListener::OnPurchaseSucceeded(purchase::Product* product) {
  mLog->push_back("listener succeeded " + PurchaseTestName(product));
}

void RecordingPurchaseListener::OnPurchaseFailed(purchase::Product* product) {
  mLog->push_back("listener failed " + PurchaseTestName(product));
}

ResultSubscriber::~ResultSubscriber() { purchase::PurchaseResultEvent::Unsubscribe(this); }

void ResultSubscriber::Subscribe(OutcomeLog* log, int index, bool withCode) {
  mLog = log;
  mIndex = index;
  using Event = purchase::PurchaseResultEvent;
  Event::Subscribe(this, base::DelegatePtr<Event::Handler>(
                             new base::MemberDelegate1<ResultSubscriber, TPurchaseResult const&, void>(
                                 this, &ResultSubscriber::OnResult)));
  if (withCode) {
    Event::SubscribeWithCode(
        this, base::DelegatePtr<Event::HandlerWithCode>(
                  new base::MemberDelegate2<ResultSubscriber, TPurchaseResult const&, int, VNResultEnum>(
                      this, &ResultSubscriber::OnResultWithCode)));
  }
}

void ResultSubscriber::OnResult(TPurchaseResult const& result) {
  if (mDuringResult) {
    const std::function<void()> action = std::move(mDuringResult);
    mDuringResult = nullptr;
    action();
  }
  mLog->push_back("event #" + std::to_string(mIndex) + " code " + std::to_string(result.code) + " " +
                  PurchaseTestName(result.product));
}

VNResultEnum ResultSubscriber::OnResultWithCode(TPurchaseResult const& result, int extra) {
  mLog->push_back("event #" + std::to_string(mIndex) + " with-code " + std::to_string(result.code) + " " +
                  std::to_string(extra) + " " + PurchaseTestName(result.product));
  return VN_OK;
}

void StoreFrontTest::SetUp() {
  TempFolderTest::SetUp();
  ASSERT_TRUE(Store()->GetProducts().empty());
  ASSERT_EQ(Store()->GetBackend(), nullptr);
}

void StoreFrontTest::TearDown() {
  Store()->UnloadProducts();
  Store()->SetBackend(nullptr);
  // Refused requests of the test still queued find nothing to report and leave the tree.
  Tick();
  Tick();
  TempFolderTest::TearDown();
}

fakes::ScriptedStoreBackend* StoreFrontTest::AttachBackend(bool available) {
  auto* backend = new fakes::ScriptedStoreBackend(available);
  Store()->SetBackend(backend);
  return backend;
}

VNResultEnum StoreFrontTest::LoadCatalogue(const std::string& path, const std::string& xml) {
  WriteTestFile(path, xml);
  std::u16string widePath(path.begin(), path.end());
  return Store()->LoadProducts(widePath);
}

void StoreFrontTest::Tick() { app::Application::Instance()->UpdateChildren(0.016f); }

void StoreFrontTest::TickRunning(std::function<void()> action) {
  app::Application::Instance()->AddTask(new PurchaseTestActionTask(std::move(action)));
  Tick();
  Tick();
}

}  // namespace purchasetest
