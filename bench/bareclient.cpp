// The floor of bench/resources.sh: the least an X client can do and still be a load monitor of
// Varnel's size. A window of Varnel's default client size (332 x 190) that wakes once a second,
// reads the load file with one pread into a buffer it keeps, makes a picture of the load (the
// whole image filled, a bar of the busy share) and puts it on the window through a shared-memory
// image (MIT-SHM), then sleeps in poll() on the X connection until the next second. Nothing
// else: no toolkit, no fonts, no settings. Built by the script.
//
//   bareclient [X Y]        (the load file: VARNEL_STAT_FILE, else /proc/stat)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int W = 332, H = 190;

// The busy and the whole count of the first line of a /proc/stat-format text: busy = user +
// nice + system + irq + softirq + steal, whole = busy + idle + iowait.
bool ParseLoad(const char* text, unsigned long long& busy, unsigned long long& whole) {
  if (std::strncmp(text, "cpu ", 4) != 0) return false;
  unsigned long long v[8] = {};
  const char* p = text + 4;
  for (int i = 0; i < 8; ++i) {
    char* end = nullptr;
    v[i] = std::strtoull(p, &end, 10);
    if (end == p) break;
    p = end;
  }
  busy = v[0] + v[1] + v[2] + v[5] + v[6] + v[7];
  whole = busy + v[3] + v[4];
  return true;
}

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "bareclient: no display\n");
    return 1;
  }
  const char* statPath = std::getenv("VARNEL_STAT_FILE");
  const int statFd = open(statPath && *statPath ? statPath : "/proc/stat", O_RDONLY | O_CLOEXEC);
  const int screen = DefaultScreen(d);
  Visual* visual = DefaultVisual(d, screen);
  const int x = argc > 2 ? std::atoi(argv[1]) : 0, y = argc > 2 ? std::atoi(argv[2]) : 0;
  const Window win = XCreateSimpleWindow(d, RootWindow(d, screen), x, y, W, H, 0, 0, 0);
  XStoreName(d, win, "bareclient");
  XSelectInput(d, win, ExposureMask);
  const GC gc = XCreateGC(d, win, 0, nullptr);

  // The picture: a 32-bit image in a shared segment that the server reads when asked.
  XShmSegmentInfo shm{};
  XImage* img = XShmCreateImage(d, visual, static_cast<unsigned>(DefaultDepth(d, screen)), ZPixmap, nullptr, &shm, W, H);
  if (!img || img->bits_per_pixel != 32) {
    std::fprintf(stderr, "bareclient: needs a 32-bit shared-memory image\n");
    return 1;
  }
  shm.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(img->bytes_per_line) * H, IPC_CREAT | 0600);
  shm.shmaddr = img->data = static_cast<char*>(shmat(shm.shmid, nullptr, 0));
  shm.readOnly = False;
  if (shm.shmid < 0 || shm.shmaddr == reinterpret_cast<char*>(-1) || !XShmAttach(d, &shm)) {
    std::fprintf(stderr, "bareclient: no shared memory\n");
    return 1;
  }
  XSync(d, False);
  shmctl(shm.shmid, IPC_RMID, nullptr);  // gone once both sides detach
  XMapWindow(d, win);

  char text[256];
  unsigned long long lastBusy = 0, lastWhole = 0;
  int load = 0;
  const auto paint = [&] {
    auto* px = reinterpret_cast<std::uint32_t*>(img->data);
    const int stride = img->bytes_per_line / 4;
    const int bar = H - H * load / 100;
    for (int r = 0; r < H; ++r)
      for (int c = 0; c < W; ++c) px[r * stride + c] = r >= bar ? 0x800000u : 0xC0C0C0u;
    XShmPutImage(d, win, gc, img, 0, 0, 0, 0, W, H, False);
    XFlush(d);
  };
  const auto sample = [&] {
    if (statFd < 0) return;
    const ssize_t n = pread(statFd, text, sizeof text - 1, 0);
    if (n <= 0) return;
    text[n] = 0;
    unsigned long long busy, whole;
    if (!ParseLoad(text, busy, whole)) return;
    if (whole > lastWhole && busy >= lastBusy) load = static_cast<int>(100 * (busy - lastBusy) / (whole - lastWhole));
    lastBusy = busy;
    lastWhole = whole;
  };
  sample();
  double next = Now() + 1.0;
  pollfd pfd{ConnectionNumber(d), POLLIN, 0};
  for (;;) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == Expose && e.xexpose.count == 0) paint();
    }
    const int wait = static_cast<int>((next - Now()) * 1000.0);
    if (wait > 0 && poll(&pfd, 1, wait) > 0) {
      if (pfd.revents & (POLLHUP | POLLERR)) return 0;  // the server went away
      continue;
    }
    if (Now() < next) continue;
    next += 1.0;
    sample();
    paint();
  }
}
