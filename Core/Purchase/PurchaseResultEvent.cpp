#include "Core/Purchase/PurchaseResultEvent.h"

namespace purchase {

// The tables are never destroyed: listeners that are singletons (or owned by one) unsubscribe while
// the registry destroys them at exit, after the function-local statics are gone.
std::map<const void*, base::DelegatePtr<PurchaseResultEvent::Handler>>& PurchaseResultEvent::Listeners() {
  static auto* listeners = new std::map<const void*, base::DelegatePtr<Handler>>;
  return *listeners;
}

std::map<const void*, base::DelegatePtr<PurchaseResultEvent::HandlerWithCode>>& PurchaseResultEvent::Handlers() {
  static auto* handlers = new std::map<const void*, base::DelegatePtr<HandlerWithCode>>;
  return *handlers;
}

void PurchaseResultEvent::Subscribe(const void* owner, base::DelegatePtr<Handler> handler) {
  Listeners()[owner] = handler;
}

void PurchaseResultEvent::SubscribeWithCode(const void* owner, base::DelegatePtr<HandlerWithCode> handler) {
  Handlers()[owner] = handler;
}

void PurchaseResultEvent::Unsubscribe(const void* owner) {
  Listeners().erase(owner);
  Handlers().erase(owner);
}

void PurchaseResultEvent::Fire(const TPurchaseResult& result) {
  const auto listeners = Listeners();  // a copy: handlers may change the table
  for (const auto& entry : listeners) {
    const auto withCode = Handlers().find(entry.first);
    if (withCode != Handlers().end()) {
      // Held across the call: the handler may unsubscribe its own owner.
      const base::DelegatePtr<HandlerWithCode> handler = withCode->second;
      if (handler) handler->Invoke(result, 0);
    }
    const auto current = Listeners().find(entry.first);
    if (current == Listeners().end()) continue;
    const base::DelegatePtr<Handler> handler = current->second;
    if (handler) handler->Invoke(result);
  }
}

}  // namespace purchase
