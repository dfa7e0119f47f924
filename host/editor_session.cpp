#include "editor_session.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace zhost {
namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t gInterrupted = 0;
void OnInterrupt(int) { gInterrupted = 1; }

// SIGINT and SIGTERM end the session like closing the window; poll() is
// interrupted rather than restarted, so the loop sees it at once.
class InterruptScope {
 public:
  InterruptScope() {
    gInterrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
  }
  ~InterruptScope() {
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
  }

 private:
  struct sigaction oldInt_ {}, oldTerm_ {};
};

xcb_atom_t Intern(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r != nullptr ? r->atom : XCB_NONE;
  std::free(r);
  return atom;
}

// The host's side of the display: one connection and the editor's window.
class HostWindow {
 public:
  explicit HostWindow(xcb_connection_t* c, int screenNumber) : c_(c) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem > 1; ++i) xcb_screen_next(&it);
    screen_ = it.data;
    protocols_ = Intern(c, "WM_PROTOCOLS");
    delete_ = Intern(c, "WM_DELETE_WINDOW");
  }
  ~HostWindow() {
    if (window_ != XCB_NONE && xcb_connection_has_error(c_) == 0) xcb_destroy_window(c_, window_);
    xcb_disconnect(c_);
  }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  xcb_window_t Create(int width, int height, const std::string& title) {
    window_ = xcb_generate_id(c_);
    const std::uint32_t values[] = {screen_->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen_->root, 0, 0, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<std::uint32_t>(title.size()), title.data());
    const char windowClass[] = "zelvane-render\0Zelvane-render";
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        sizeof windowClass, windowClass);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, protocols_, XCB_ATOM_ATOM, 32, 1, &delete_);
    // The editor has one size: the window keeps it.
    std::uint32_t hints[18] = {};
    hints[0] = 16 | 32;  // PMinSize | PMaxSize
    hints[5] = hints[7] = static_cast<std::uint32_t>(width);
    hints[6] = hints[8] = static_cast<std::uint32_t>(height);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
                        18, hints);
    xcb_map_window(c_, window_);
    xcb_flush(c_);
    return window_;
  }

  // Handles what came; false once the user closed the window or the
  // display went away.
  bool HandleEvents() {
    while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
      const int type = e->response_type & 0x7F;
      bool closed = false;
      if (type == XCB_CLIENT_MESSAGE) {
        const auto* m = reinterpret_cast<xcb_client_message_event_t*>(e);
        closed = m->window == window_ && m->type == protocols_ && m->data.data32[0] == delete_;
      } else if (type == XCB_DESTROY_NOTIFY) {
        closed = reinterpret_cast<xcb_destroy_notify_event_t*>(e)->window == window_;
        if (closed) window_ = XCB_NONE;
      }
      std::free(e);
      if (closed) return false;
    }
    if (xcb_connection_has_error(c_) != 0) {
      std::fprintf(stderr, "zelvane-render: the connection to the X display was lost\n");
      return false;
    }
    return true;
  }

  // Until an event comes or the time is up.
  void Wait(int ms) {
    pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
    poll(&p, 1, ms);  // an interruption ends the wait, which is what it is for
  }

 private:
  xcb_connection_t* c_;
  xcb_screen_t* screen_ = nullptr;
  xcb_atom_t protocols_ = XCB_NONE, delete_ = XCB_NONE;
  xcb_window_t window_ = XCB_NONE;
};

// Plays the sequence again and again at the pace of real time, throwing the
// sound away, until told to stop.
class AudioThread {
 public:
  AudioThread(PluginInstance& plugin, const MidiSequence& sequence, const RenderSettings& settings) {
    if (RenderLengthFrames(sequence, settings) <= 0) return;  // nothing to play
    thread_ = std::thread([this, &plugin, &sequence, settings] { Run(plugin, sequence, settings); });
  }
  ~AudioThread() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
  }
  AudioThread(const AudioThread&) = delete;
  AudioThread& operator=(const AudioThread&) = delete;

 private:
  struct Stopped {};

  void Run(PluginInstance& plugin, const MidiSequence& sequence, const RenderSettings& settings) {
    const Clock::time_point start = Clock::now();
    std::int64_t played = 0;
    const auto pace = [&](const float*, const float*, int frames) {
      played += frames;
      const Clock::time_point due =
          start + std::chrono::microseconds(played * 1000000 / settings.sampleRate);
      while (Clock::now() < due) {
        if (stop_.load()) throw Stopped{};
        std::this_thread::sleep_for(std::min<Clock::duration>(due - Clock::now(), std::chrono::milliseconds(20)));
      }
      if (stop_.load()) throw Stopped{};
    };
    try {
      while (!stop_.load()) RenderSequence(plugin, sequence, settings, pace);
    } catch (const Stopped&) {
    } catch (const std::exception& e) {
      std::fprintf(stderr, "zelvane-render: playing stopped: %s\n", e.what());
    }
  }

  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace

int RunEditorSession(const RenderJobOptions& options, const MidiSequence& sequence) {
  // The display first: without one there is no reason to load anything.
  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(c) != 0) {
    xcb_disconnect(c);
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
      std::fprintf(stderr, "zelvane-render: --editor needs an X display, and DISPLAY is not set\n");
    } else {
      std::fprintf(stderr, "zelvane-render: --editor needs an X display, and \"%s\" cannot be opened\n", display);
    }
    return kEditorNoDisplay;
  }
  HostWindow host(c, screenNumber);

  RenderJob job(options);
  PluginInstance& plugin = job.plugin();
  vst2::ERect* rect = nullptr;
  plugin.Dispatch(vst2::effEditGetRect, 0, 0, &rect);
  const int width = rect != nullptr ? rect->right - rect->left : 0;
  const int height = rect != nullptr ? rect->bottom - rect->top : 0;
  if ((plugin.effect()->flags & vst2::effFlagsHasEditor) == 0 || width <= 0 || height <= 0) {
    std::fprintf(stderr, "zelvane-render: the plug-in has no editor\n");
    return kEditorMissing;
  }

  InterruptScope interrupts;
  const xcb_window_t window = host.Create(width, height, plugin.EffectName() + " - zelvane-render");
  {
    AudioThread audio(plugin, sequence, options.settings);
    if (plugin.Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(window))) == 0) {
      std::fprintf(stderr, "zelvane-render: the plug-in did not open its editor\n");
      return kEditorMissing;
    }
    std::printf("editor open (%d x %d); close its window to end\n", width, height);
    std::fflush(stdout);
    Clock::time_point nextIdle = Clock::now();
    while (gInterrupted == 0 && host.HandleEvents()) {
      const Clock::time_point now = Clock::now();
      if (now >= nextIdle) {
        plugin.Dispatch(vst2::effEditIdle);
        // A late idle is not made up for: the next one is a period away.
        nextIdle += std::chrono::milliseconds(kEditorIdleMs);
        if (nextIdle <= now) nextIdle = now + std::chrono::milliseconds(kEditorIdleMs);
      }
      const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextIdle - Clock::now());
      host.Wait(static_cast<int>(std::max<std::int64_t>(wait.count(), 0)));
    }
    plugin.Dispatch(vst2::effEditClose);
  }  // the audio thread stops before the instance closes
  if (!options.stateOutPath.empty()) job.SaveState(options.stateOutPath);
  std::printf("editor closed\n");
  return kEditorClosed;
}

}  // namespace zhost
