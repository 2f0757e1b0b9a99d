#include "platform/backend/sdl/SdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backend/HostWindow.h"
#include "platform/backend/sdl/HostTyping.h"
#include "platform/backend/sdl/SdlClipboard.h"
#include "platform/backend/sdl/SdlKeyMap.h"
#include "platform/backend/sdl/SdlWindowIcon.h"
#include "platform/base/Clock.h"
#include "platform/base/Utf.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/shell/Shell.h"
#include "platform/win/Input.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowObserver.h"

namespace platform {

struct SdlBackend::Impl : WindowObserver {
  // The program asked to come to the front (another start of it, usually): the host window
  // comes back from the background.
  void broughtToForeground(HWND) override {
    if (!inBackground || window == nullptr) return;
    inBackground = false;
    SDL_RestoreWindow(window);
    SDL_RaiseWindow(window);
  }

  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int scale = 2;
  Edition edition = Edition::PocketPc;
  bool quitRequested = false;
  bool stylusDown = false;
  bool inBackground = false;
  bool iconSet = false;
  HostTyping typing{Edition::PocketPc};
  SdlClipboard clipboard;
  // Files of a drop in progress: the desktop names them one by one between its begin and end.
  std::vector<std::u16string> dropped;
  bool dropping = false;

  bool makeTexture() {
    if (texture) SDL_DestroyTexture(texture);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, gdi::screenWidth(),
                                gdi::screenHeight());
    return texture != nullptr;
  }

  void show(const RECT& dirty) {
    const int w = gdi::screenWidth();
    const RECT r{std::max<LONG>(dirty.left, 0), std::max<LONG>(dirty.top, 0), std::min<LONG>(dirty.right, w),
                 std::min<LONG>(dirty.bottom, gdi::screenHeight())};
    if (r.right > r.left && r.bottom > r.top) {
      const SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
      SDL_UpdateTexture(texture, &area, gdi::screenPixels() + r.top * w + r.left, w * 2);
    }
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
  }

  void showAll() { show(RECT{0, 0, gdi::screenWidth(), gdi::screenHeight()}); }

  POINT devicePoint(int x, int y) const { return POINT{x / scale, y / scale}; }

  // The program is handed the files where the pointer let go of them (SDL tells no position).
  void deliverDrop() {
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    postFilesDropped(std::move(dropped), devicePoint(x, y));
    dropped.clear();
  }

  void rotate() {
    rotateScreen();
    SDL_SetWindowSize(window, gdi::screenWidth() * scale, gdi::screenHeight() * scale);
    SDL_SetWindowTitle(window, HostWindow::title(edition, gdi::screenWidth(), gdi::screenHeight()).c_str());
    makeTexture();
    showAll();
  }

  void handle(const SDL_Event& e) {
    // A key press waits for the text that follows it; anything else lets it go in as a key.
    if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP && e.type != SDL_TEXTINPUT) typing.flush();
    switch (e.type) {
      case SDL_QUIT:
        closeRequested();
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) closeRequested();
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) showAll();
        if (e.window.event == SDL_WINDOWEVENT_RESTORED || e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
          inBackground = false;
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) {
          stylusDown = true;
          postStylusDown(devicePoint(e.button.x, e.button.y));
        }
        break;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT && stylusDown) {
          stylusDown = false;
          postStylusUp(devicePoint(e.button.x, e.button.y));
        }
        break;
      case SDL_MOUSEMOTION:
        if (stylusDown) postStylusMove(devicePoint(e.motion.x, e.motion.y));
        break;
      case SDL_KEYDOWN: {
        const SDL_Keymod mod = static_cast<SDL_Keymod>(e.key.keysym.mod);
        if (e.key.keysym.sym == SDLK_r && (mod & KMOD_CTRL)) {
          if (!e.key.repeat) rotate();
          break;
        }
        if (UINT vk = virtualKeyForSdlKey(e.key.keysym.sym, (mod & KMOD_SHIFT) != 0)) {
          typing.keyDown(e.key.keysym.sym, vk, e.key.repeat != 0, (mod & KMOD_SHIFT) != 0,
                         (mod & (KMOD_CTRL | KMOD_LALT)) != 0);
        }
        break;
      }
      case SDL_KEYUP:
        if (e.key.keysym.sym == SDLK_r && (e.key.keysym.mod & KMOD_CTRL)) break;
        typing.keyUp(e.key.keysym.sym);
        break;
      case SDL_TEXTINPUT:
        typing.text(e.text.text);
        break;
      case SDL_DROPBEGIN:
        dropping = true;
        dropped.clear();
        break;
      case SDL_DROPFILE:
        if (e.drop.file != nullptr) {
          dropped.push_back(toUtf16(e.drop.file));
          SDL_free(e.drop.file);
        }
        // Desktops that announce no begin drop one file at a time.
        if (!dropping) deliverDrop();
        break;
      case SDL_DROPTEXT:
        SDL_free(e.drop.file);
        break;
      case SDL_DROPCOMPLETE:
        dropping = false;
        deliverDrop();
        break;
      default:
        break;
    }
  }

  // The program decides: its foreground window is asked to close.
  void closeRequested() {
    if (HWND fg = GetForegroundWindow()) {
      PostMessageW(fg, WM_CLOSE, 0, 0);
    } else {
      quitRequested = true;
    }
  }
};

SdlBackend* SdlBackend::shown_ = nullptr;

void SdlBackend::minimiseShownWindow() {
  if (shown_ == nullptr || shown_->impl_->window == nullptr) return;
  shown_->impl_->inBackground = true;
  SDL_MinimizeWindow(shown_->impl_->window);
}

SdlBackend::SdlBackend() : impl_(std::make_unique<Impl>()) {}

SdlBackend::~SdlBackend() {
  removeWindowObserver(impl_.get());
  if (impl_->window) setClipboardHost(nullptr);
  if (shown_ == this) {
    shell::setBackgroundHandler(nullptr);
    shown_ = nullptr;
  }
  if (impl_->texture) SDL_DestroyTexture(impl_->texture);
  if (impl_->renderer) SDL_DestroyRenderer(impl_->renderer);
  if (impl_->window) SDL_DestroyWindow(impl_->window);
  if (impl_->window || impl_->renderer) SDL_Quit();
}

bool SdlBackend::open(const DeviceConfig& config, std::string& error) {
  // Xlib writes the UTF-8 title as the desktop reads it (_NET_WM_NAME) only under a UTF-8
  // character type; the program's own text never depends on the C library's locale.
  if (!std::setlocale(LC_CTYPE, "") || MB_CUR_MAX == 1) std::setlocale(LC_CTYPE, "C.UTF-8");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = std::string("cannot open a window (") + SDL_GetError() + "); run with --headless instead";
    return false;
  }
  impl_->scale = config.scale;
  if (impl_->scale <= 0) {
    SDL_Rect usable{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &usable);
    impl_->scale = HostWindow::fittingZoom(config.screenWidth, config.screenHeight, usable.w, usable.h);
  }
  impl_->edition = config.edition;
  impl_->typing = HostTyping(config.edition);
  Clock::instance().useReal();
  openScreen(config.screenWidth, config.screenHeight);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  impl_->window = SDL_CreateWindow(HostWindow::title(config.edition, config.screenWidth, config.screenHeight).c_str(),
                                   SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, config.screenWidth * impl_->scale,
                                   config.screenHeight * impl_->scale, 0);
  if (impl_->window) impl_->renderer = SDL_CreateRenderer(impl_->window, -1, SDL_RENDERER_SOFTWARE);
  if (!impl_->window || !impl_->renderer || !impl_->makeTexture()) {
    error = std::string("cannot open a window (") + SDL_GetError() + "); run with --headless instead";
    return false;
  }
  SDL_StartTextInput();
  setClipboardHost(&impl_->clipboard);
  impl_->showAll();
  // Shell back navigation with no earlier program to return to sends the program away.
  shown_ = this;
  shell::setBackgroundHandler(&SdlBackend::minimiseShownWindow);
  addWindowObserver(impl_.get());
  return true;
}

bool SdlBackend::inBackground() const { return impl_->inBackground; }

void SdlBackend::present(const RECT& dirty) {
  // The program registers its icons once it runs, after the window opened.
  if (!impl_->iconSet) impl_->iconSet = setSdlWindowIcon(impl_->window);
  impl_->show(dirty);
}

bool SdlBackend::waitForInput(int timeoutMs) {
  if (impl_->quitRequested) return false;
  timeoutMs = serveDumpRequest(timeoutMs);
  SDL_Event e;
  const int got = timeoutMs < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeoutMs);
  if (got) impl_->handle(e);
  pollInput();
  return !impl_->quitRequested;
}

bool SdlBackend::readWindowPixels(std::vector<std::uint32_t>& pixels, int& width, int& height) {
  if (!impl_->renderer) return false;
  if (SDL_GetRendererOutputSize(impl_->renderer, &width, &height) != 0) return false;
  pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  impl_->showAll();
  return SDL_RenderReadPixels(impl_->renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), width * 4) == 0;
}

void SdlBackend::pollInput() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) impl_->handle(e);
}

}  // namespace platform
