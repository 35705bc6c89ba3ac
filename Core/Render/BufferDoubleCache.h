#pragma once
// Per-frame caches of dynamic buffers: every draw takes its vertices or indices from one. Each
// buffer is locked with discard at its first use in a frame and unlocked at the frame's end.
#include <array>
#include <vector>

#include "Core/Render/TypedBuffer.h"

namespace render {

class BufferDoubleCacheBase {
 public:
  explicit BufferDoubleCacheBase(Render* render) : mRender(render) {}
  // Deletes the main pair and the overflow pairs.
  virtual ~BufferDoubleCacheBase();
  BufferDoubleCacheBase(const BufferDoubleCacheBase&) = delete;
  BufferDoubleCacheBase& operator=(const BufferDoubleCacheBase&) = delete;

  // Starts a frame; 1 when it was started already.
  virtual VNResultEnum Begin();
  // Ends the frame: unlocks every locked buffer (1 when one fails, or when not begun).
  virtual VNResultEnum End();
  // Deletes the overflow pairs; 1 inside a frame.
  VNResultEnum ReleaseOverflow();

  bool IsBegun() const { return mBegun; }
  size_t GetOverflowCount() const { return mOverflow.size(); }

 protected:
  using Pair = std::array<BufferHolder*, 2>;

  // Makes two dynamic buffers of capacity elements.
  virtual VNResultEnum CreatePair(unsigned capacity, Pair& pair) = 0;
  // Creates the main pair (0 = the default capacities of the element type).
  VNResultEnum InitPairs(unsigned mainCapacity, unsigned overflowCapacity);
  // Room for n elements in the main buffer, then the overflow buffers in creation order, then in
  // a new overflow pair. Never allocates once the frame's buffers exist.
  VNResultEnum AllocateElements(unsigned n, void** data, unsigned& start, BufferHolder*& owner) {
    // Inline for the common cases: a locked main buffer with room, or, once the main buffer is
    // short, the overflow buffer the last search stopped at when the search would stop there
    // again (n at least the size it searched for). The rest is out of line.
    if (!mBegun) return AllocateElementsSlow(n, data, start, owner);
    BufferHolder* holder = mMain[size_t(mSelector)];
    Buffer* buffer = holder->GetBuffer();
    if (buffer->GetCapacity() - buffer->GetUsed() < n) {
      if (n < mScanSize || mScanFrom >= mOverflow.size()) return AllocateElementsSlow(n, data, start, owner);
      holder = mOverflow[mScanFrom][size_t(mSelector)];
      buffer = holder->GetBuffer();
      if (buffer->GetCapacity() - buffer->GetUsed() < n) return AllocateElementsSlow(n, data, start, owner);
      mScanSize = n;
    }
    if (!buffer->IsLocked()) return AllocateElementsSlow(n, data, start, owner);
    owner = holder;
    start = buffer->GetUsed();
    *data = buffer->TakeRoom(n);
    return VN_OK;
  }
  VNResultEnum AllocateElementsSlow(unsigned n, void** data, unsigned& start, BufferHolder*& owner);

  Render* mRender;
  bool mBegun = false;
  int mSelector = 0;  // the member of each pair in use; stays 0
  Pair mMain = {};
  unsigned mOverflowCapacity = 0;
  std::vector<Pair> mOverflow;
  // Overflow pairs before mScanFrom had less room than mScanSize elements when last searched; room
  // only shrinks within a frame, so a search for at least that many starts there.
  size_t mScanFrom = 0;
  unsigned mScanSize = 0;
};

// Elements handed out by a cache: [start, start + count) of one buffer.
template <class Owner>
struct BufferRange {
  unsigned mStart = 0;
  unsigned mCount = 0;
  Owner* mBuffer = nullptr;
};

template <class Owner>
class BufferDoubleCache : public BufferDoubleCacheBase {
 public:
  using Element = typename Owner::Element;
  using BufferDoubleCacheBase::BufferDoubleCacheBase;

  // Capacities of 0 take the element type's own.
  VNResultEnum Init(unsigned mainCapacity, unsigned overflowCapacity) {
    return InitPairs(mainCapacity ? mainCapacity : Owner::DefaultMainCapacity(),
                     overflowCapacity ? overflowCapacity : Owner::DefaultOverflowCapacity());
  }

  // n elements for the caller to fill from data; 1 outside a frame, when n exceeds the overflow
  // capacity and the main buffer lacks room, or when a buffer fails.
  VNResultEnum Allocate(unsigned n, Element** data, BufferRange<Owner>& range) {
    void* memory = nullptr;
    BufferHolder* owner = nullptr;
    const VNResultEnum result = AllocateElements(n, &memory, range.mStart, owner);
    *data = static_cast<Element*>(memory);
    range.mCount = n;
    range.mBuffer = static_cast<Owner*>(owner);
    return result;
  }

 private:
  VNResultEnum CreatePair(unsigned capacity, Pair& pair) override {
    for (BufferHolder*& member : pair) {
      Owner* owner = nullptr;
      const VNResultEnum result = Owner::Create(mRender, capacity, &owner);
      if (result != VN_OK) return result;
      member = owner;
    }
    return VN_OK;
  }
};

}  // namespace render
