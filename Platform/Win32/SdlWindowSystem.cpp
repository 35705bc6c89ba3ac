// The window layer over SDL's video subsystem.
#include <SDL.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "Platform/Win32/SdlEvents.h"
#include "Platform/Win32/Utf.h"
#include "Platform/Win32/WindowHandle.h"
#include "Platform/Win32/WindowSystem.h"

namespace win32 {

namespace {

struct SdlWindow {
  SDL_Window* window;
  SDL_GLContext context;
  std::vector<std::function<void()>> contextWatchers;
};

class SdlWindowSystem : public WindowSystem {
 public:
  bool Open(WindowRecord& record) override {
    if (!StartVideo()) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (!(record.style & WS_CAPTION)) flags |= SDL_WINDOW_BORDERLESS;
    const RECT& rect = record.rect;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    // First with the back buffer's depth and stencil, so that the device can draw it in the window
    // itself; then with SDL's defaults, for which the device keeps a back buffer of its own.
    struct DepthStencil {
      int depth, stencil;
    };
    for (const DepthStencil bits : {DepthStencil{24, 8}, DepthStencil{16, 0}}) {
      SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, bits.depth);
      SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, bits.stencil);
      window = SDL_CreateWindow(Utf16ToUtf8(record.title).c_str(), rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, flags);
      context = window ? SDL_GL_CreateContext(window) : nullptr;
      if (context) break;
      if (window) SDL_DestroyWindow(window);
      window = nullptr;
    }
    if (!context) return Failed("SDL_CreateWindow and SDL_GL_CreateContext (OpenGL 3.3 core)");
    record.native = new SdlWindow{window, context, {}};
    record.nativeId = SDL_GetWindowID(window);
    return true;
  }

  void Close(WindowRecord& record) override {
    SdlWindow* native = Native(record);
    if (!native) return;
    for (const std::function<void()>& deleted : native->contextWatchers) deleted();
    SDL_GL_DeleteContext(native->context);
    SDL_DestroyWindow(native->window);
    delete native;
    record.native = nullptr;
    record.nativeId = 0;
  }

  // A frameless window that covers a whole display is the full-screen window: it is placed there
  // and left to the window manager, as a popup window over the monitor is on Windows.
  void Place(WindowRecord& record) override {
    SdlWindow* native = Native(record);
    if (!native) return;
    const RECT& rect = record.rect;
    SDL_SetWindowBordered(native->window, (record.style & WS_CAPTION) ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowSize(native->window, rect.right - rect.left, rect.bottom - rect.top);
    SDL_SetWindowPosition(native->window, rect.left, rect.top);
    if (record.visible) {
      SDL_ShowWindow(native->window);
    } else {
      SDL_HideWindow(native->window);
    }
  }

  void Restore(WindowRecord& record) override {
    if (SdlWindow* native = Native(record)) {
      SDL_ShowWindow(native->window);
      SDL_RestoreWindow(native->window);
    }
  }

  void Raise(WindowRecord& record) override {
    if (SdlWindow* native = Native(record)) SDL_RaiseWindow(native->window);
  }

  void Pump() override {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_PumpEvents();
    std::vector<SDL_Event> events;
    SDL_Event batch[64];
    int taken = 0;
    while ((taken = SDL_PeepEvents(batch, 64, SDL_GETEVENT, SDL_QUIT, SDL_MOUSEWHEEL)) > 0) {
      events.insert(events.end(), batch, batch + taken);
    }
    mTranslator.Translate(events.data(), events.size());
    UpdateCapture();
  }

  POINT CursorPos() override {
    int x = 0;
    int y = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_GetGlobalMouseState(&x, &y);
    return POINT{x, y};
  }

  std::uint32_t MouseFocus() override {
    SDL_Window* focus = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetMouseFocus() : nullptr;
    return focus ? SDL_GetWindowID(focus) : 0;
  }

  void ReleaseCapture() override {
    mCaptureReleased = true;
    UpdateCapture();
  }

  void ShowArrowCursor() override {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    if (!mArrow) mArrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    if (mArrow) SDL_SetCursor(mArrow);
  }

  std::vector<MONITORINFO> Monitors() override {
    std::vector<MONITORINFO> monitors;
    if (!StartVideo()) return monitors;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
      SDL_Rect bounds{};
      if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
      SDL_Rect usable = bounds;
      if (SDL_GetDisplayUsableBounds(i, &usable) != 0) usable = bounds;
      monitors.push_back(MONITORINFO{sizeof(MONITORINFO), RectOf(bounds), RectOf(usable),
                                     i == 0 ? MONITORINFOF_PRIMARY : 0});
    }
    return monitors;
  }

  static SdlWindow* Native(const WindowRecord& record) { return static_cast<SdlWindow*>(record.native); }

 private:
  static RECT RectOf(const SDL_Rect& rect) { return RECT{rect.x, rect.y, rect.x + rect.w, rect.y + rect.h}; }

  static bool Failed(const char* call) {
    std::fprintf(stderr, "win32: %s failed: %s\n", call, SDL_GetError());
    return false;
  }

  static bool StartVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (sNoDisplay) return false;
    // Closing the window is the window procedure's business, not a request to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return Failed("SDL_InitSubSystem(SDL_INIT_VIDEO)");
    if (IsInvisibleFallback()) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      sNoDisplay = true;
      std::fprintf(stderr,
                   "win32: no display (DISPLAY or WAYLAND_DISPLAY); SDL_VIDEODRIVER=offscreen runs without one\n");
      return false;
    }
    SDL_StartTextInput();
    return true;
  }

  // Without a display SDL falls back to a driver that shows nothing; only a caller that names the
  // driver (SDL_VIDEODRIVER) wants that.
  static bool IsInvisibleFallback() {
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (requested != nullptr && *requested != '\0') return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
  }

  // Held buttons keep the mouse captured, so a release outside the window is still delivered.
  void UpdateCapture() {
    if (!mTranslator.IsButtonHeld()) mCaptureReleased = false;
    const bool wanted = mTranslator.IsButtonHeld() && !mCaptureReleased;
    if (wanted == mCaptured || !SDL_WasInit(SDL_INIT_VIDEO)) return;
    mCaptured = wanted;
    SDL_CaptureMouse(wanted ? SDL_TRUE : SDL_FALSE);
  }

  SdlEventTranslator mTranslator;
  SDL_Cursor* mArrow = nullptr;
  bool mCaptureReleased = false;  // ReleaseCapture during a press
  bool mCaptured = false;
  static inline bool sNoDisplay = false;  // found once; a display does not appear later in the run
};

SdlWindowSystem& TheSdlWindowSystem() {
  static SdlWindowSystem& system = *new SdlWindowSystem;  // never destroyed, as the windows
  return system;
}

WindowSystem* sWindowSystem = nullptr;

SdlWindow* SdlWindowOf(HWND window) {
  const WindowRecord* record = FindWindowRecord(window);
  if (!record || &TheWindowSystem() != &TheSdlWindowSystem()) return nullptr;
  return SdlWindowSystem::Native(*record);
}

}  // namespace

WindowSystem& TheWindowSystem() { return sWindowSystem ? *sWindowSystem : TheSdlWindowSystem(); }

void SetWindowSystem(WindowSystem* system) { sWindowSystem = system; }

SDL_Window* GetSdlWindow(HWND window) {
  const SdlWindow* native = SdlWindowOf(window);
  return native ? native->window : nullptr;
}

void* GetGlContext(HWND window) {
  const SdlWindow* native = SdlWindowOf(window);
  return native ? native->context : nullptr;
}

bool WatchGlContext(HWND window, std::function<void()> deleted) {
  SdlWindow* native = SdlWindowOf(window);
  if (!native) return false;
  native->contextWatchers.push_back(std::move(deleted));
  return true;
}

}  // namespace win32
