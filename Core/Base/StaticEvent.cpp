#include "Core/Base/StaticEvent.h"

namespace base {

std::map<const void*, DelegatePtr<StaticEvent::Handler>>& StaticEvent::Listeners() {
  static std::map<const void*, DelegatePtr<Handler>> listeners;
  return listeners;
}

std::map<const void*, DelegatePtr<StaticEvent::HandlerWithCode>>& StaticEvent::Handlers() {
  static std::map<const void*, DelegatePtr<HandlerWithCode>> handlers;
  return handlers;
}

void StaticEvent::Subscribe(const void* listener, DelegatePtr<Handler> handler) {
  Listeners()[listener] = handler;
}

void StaticEvent::SubscribeWithCode(const void* listener, DelegatePtr<HandlerWithCode> handler) {
  Handlers()[listener] = handler;
}

void StaticEvent::Unsubscribe(const void* listener) {
  Listeners().erase(listener);
  Handlers().erase(listener);
}

void StaticEvent::Fire(bool windowed) {
  const auto listeners = Listeners();  // a copy: handlers may change the table
  for (const auto& entry : listeners) {
    const DelegatePtr<HandlerWithCode> withCode = Handlers()[entry.first];
    if (withCode) withCode->Invoke(windowed, 0);
    const auto current = Listeners().find(entry.first);
    if (current == Listeners().end()) continue;
    const DelegatePtr<Handler> handler = current->second;
    if (handler) handler->Invoke(windowed);
  }
}

}  // namespace base
