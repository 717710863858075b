// kelpra-key-to-pixels: times the running viewer from a key release (or a window resize) to its
// new frame on screen, and prints the median, minimum and maximum over the turns.
// Usage: kelpra-key-to-pixels WINDOW LABEL TURNS (key KEYSYM | resize WxH WxH) [--touch FOLDER]
//   WINDOW   the viewer's X window id (decimal or 0x hex), on $DISPLAY
//   key      sends KEYSYM (for example Right) with XTest; the viewer acts on its release
//   resize   resizes the window to each size in turn
//   --touch  just before each turn, sets the modification time of every file in FOLDER to now,
//            so that nothing read ahead is still valid at the turn
// The new frame is the last damage the window reports (XDamage) before it stays unchanged for
// kQuiet: a turn may paint more than once (an exposed area first, then the picture).
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Long enough for the slowest re-render to follow the exposure a resize causes.
constexpr auto kQuiet = 250ms;
// After each frame, time for the viewer to read the next pages ahead as a reader would give it.
constexpr auto kSettle = 700ms;
constexpr auto kFrameTimeout = 10s;
// Turns made before timing starts: the viewer's first read-ahead and warm caches.
constexpr int kWarmUpTurns = 2;

struct Size {
  unsigned width;
  unsigned height;
};

Size ParseSize(const char* text) {
  Size size{};
  if (std::sscanf(text, "%ux%u", &size.width, &size.height) != 2 || size.width == 0 ||
      size.height == 0)
    throw std::runtime_error(std::string("not a size: ") + text);
  return size;
}

struct Options {
  Window window = 0;
  std::string label;
  int turns = 0;
  KeySym key = NoSymbol;
  std::vector<Size> sizes;
  std::optional<std::filesystem::path> touched;
};

Options ParseArguments(int argc, char** argv) {
  if (argc < 6)
    throw std::runtime_error(
        "usage: kelpra-key-to-pixels WINDOW LABEL TURNS "
        "(key KEYSYM | resize WxH WxH) [--touch FOLDER]");
  Options options;
  options.window = Window(std::strtoul(argv[1], nullptr, 0));
  options.label = argv[2];
  options.turns = std::atoi(argv[3]);
  if (options.window == 0 || options.turns < 1)
    throw std::runtime_error("the window id and the number of turns must be positive");
  int next = 5;
  if (std::strcmp(argv[4], "key") == 0) {
    options.key = XStringToKeysym(argv[next++]);
    if (options.key == NoSymbol)
      throw std::runtime_error(std::string("unknown key: ") + argv[5]);
  } else if (std::strcmp(argv[4], "resize") == 0 && argc >= 7) {
    options.sizes = {ParseSize(argv[5]), ParseSize(argv[6])};
    next = 7;
  } else {
    throw std::runtime_error(std::string("unknown action: ") + argv[4]);
  }
  if (next + 1 < argc && std::strcmp(argv[next], "--touch") == 0)
    options.touched = argv[next + 1];
  else if (next < argc)
    throw std::runtime_error(std::string("unknown argument: ") + argv[next]);
  return options;
}

void TouchEvery(const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (utimensat(AT_FDCWD, entry.path().c_str(), nullptr, 0) != 0)
      throw std::runtime_error("cannot touch " + entry.path().string());
  }
}

class Viewer {
 public:
  explicit Viewer(Window window) : window_(window) {
    display_ = XOpenDisplay(nullptr);
    if (!display_)
      throw std::runtime_error("cannot open the display");
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XDamageQueryExtension(display_, &damageEvent_, &error))
      throw std::runtime_error("the X server has no DAMAGE extension");
    if (!XTestQueryExtension(display_, &error, &error, &major, &minor))
      throw std::runtime_error("the X server has no XTEST extension");
    damage_ = XDamageCreate(display_, window_, XDamageReportNonEmpty);
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    XSync(display_, False);
  }
  ~Viewer() {
    XDamageDestroy(display_, damage_);
    XCloseDisplay(display_);
  }
  Viewer(const Viewer&) = delete;
  Viewer& operator=(const Viewer&) = delete;

  // Drops every damage reported so far.
  void Settle(Clock::duration pause) {
    std::this_thread::sleep_for(pause);
    Collect(Clock::now());
  }

  Clock::time_point ReleaseKey(KeySym key) {
    const KeyCode code = XKeysymToKeycode(display_, key);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XSync(display_, False);
    const Clock::time_point start = Clock::now();
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XFlush(display_);
    return start;
  }

  Clock::time_point Resize(Size size) {
    const Clock::time_point start = Clock::now();
    XResizeWindow(display_, window_, size.width, size.height);
    XFlush(display_);
    return start;
  }

  // The time of the new frame: the last damage before the window stays quiet.
  Clock::time_point WaitForFrame(Clock::time_point start) {
    std::optional<Clock::time_point> last;
    for (;;) {
      const Clock::time_point deadline = last ? *last + kQuiet : start + kFrameTimeout;
      const std::optional<Clock::time_point> damaged = Collect(deadline);
      if (!damaged) {
        if (!last)
          throw std::runtime_error("no new frame within 10 s");
        return *last;
      }
      last = damaged;
    }
  }

 private:
  // Waits until the deadline for damage; returns the time of the last damage seen, if any.
  std::optional<Clock::time_point> Collect(Clock::time_point deadline) {
    std::optional<Clock::time_point> seen;
    for (;;) {
      while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == damageEvent_ + XDamageNotify) {
          seen = Clock::now();
          XDamageSubtract(display_, damage_, None, None);
        }
      }
      if (seen)
        return seen;
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left <= 0ms)
        return seen;
      pollfd fd{ConnectionNumber(display_), POLLIN, 0};
      poll(&fd, 1, int(left.count()) + 1);
    }
  }

  Display* display_ = nullptr;
  Window window_;
  int damageEvent_ = 0;
  Damage damage_ = 0;
};

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options options = ParseArguments(argc, argv);
    Viewer viewer(options.window);
    std::vector<double> times;
    for (int turn = 0; turn < kWarmUpTurns + options.turns; ++turn) {
      viewer.Settle(kSettle);
      if (options.touched)
        TouchEvery(*options.touched);
      const Clock::time_point start = options.sizes.empty()
                                          ? viewer.ReleaseKey(options.key)
                                          : viewer.Resize(options.sizes[turn % 2]);
      const Clock::time_point frame = viewer.WaitForFrame(start);
      if (turn >= kWarmUpTurns)
        times.push_back(Milliseconds(frame - start));
    }
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("%-40s %4zu turns  median %7.1f ms  min %7.1f ms  max %7.1f ms\n",
                options.label.c_str(), n, median, times.front(), times.back());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kelpra-key-to-pixels: %s\n", error.what());
    return 1;
  }
  return 0;
}
