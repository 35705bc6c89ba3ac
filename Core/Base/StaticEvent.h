#pragma once
#include <map>

#include "Core/Base/Delegate.h"
#include "Core/Base/DelegatePtr.h"

namespace base {

// The screen-mode change event: subscribers are kept in two process-wide tables keyed by the
// listener's address.
class StaticEvent {
 public:
  using Handler = Delegate1<bool, void>;
  using HandlerWithCode = Delegate2<bool, int, VNResultEnum>;

  static void Subscribe(const void* listener, DelegatePtr<Handler> handler);
  static void SubscribeWithCode(const void* listener, DelegatePtr<HandlerWithCode> handler);
  static void Unsubscribe(const void* listener);
  // Calls, for each listener in address order, its two-argument handler with (windowed, 0), then
  // its one-argument handler. Handlers may subscribe or unsubscribe while it runs.
  static void Fire(bool windowed);

 private:
  static std::map<const void*, DelegatePtr<Handler>>& Listeners();
  static std::map<const void*, DelegatePtr<HandlerWithCode>>& Handlers();
};

}  // namespace base
