// Leak checking stays on while the OpenGL device and the renderer live: only the driver's own
// modules are excused.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "Core/Render/Graphics.h"
#include "tests/fakes/GlRenderWindow.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {

#ifdef __SANITIZE_ADDRESS__
// A block only this test can find again: the checker sees no pointer to it.
std::uintptr_t sHiddenLeak = 0;
constexpr std::uintptr_t kLeakMask = 0x5A5A5A5A5A5A5A5Au;

// On a thread of its own that has ended by the check, so no stale copy of the pointer stays in a
// register or stack the checker scans (optimised builds keep one in the caller otherwise).
void LoseABlock() {
  std::thread([] {
    void* block = std::malloc(24);
    std::memset(block, 1, 24);
    sHiddenLeak = reinterpret_cast<std::uintptr_t>(block) ^ kLeakMask;
  }).join();
}
#endif

TEST(LeakCheckGlTest, OurLeaksShowWhileARendererDraws) {
#ifndef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "no leak checker in this build";
#else
  fakes::GlRenderWindow window(32, 32);
  ASSERT_NE(window.GetRender(), nullptr);
  ASSERT_TRUE(fakes::DrawScreenFrame(*window.GetRender(), [](render::Graphics& g) {
    g.FillRect({2, 2, 8, 8});
  }));
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "a leak besides the driver's";
  LoseABlock();
  EXPECT_NE(__lsan_do_recoverable_leak_check(), 0) << "a lost block was not reported";
  std::free(reinterpret_cast<void*>(sHiddenLeak ^ kLeakMask));
#endif
}

}  // namespace
