// A helper of the end-to-end test of the network load sources, in two parts:
//   remoteprobe silent           listens on a free local port, prints it, accepts every
//                                connection and never answers (until killed)
//   remoteprobe port             prints a local port no one listens on now
//   remoteprobe click X Y        right-clicks at (X, Y) through the X test extension and prints
//                                the milliseconds until a new top-level window (the menu) is
//                                mapped; exit status 1 when none is within 2 s
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A socket bound to a free local port, which `port` gets.
int BindFree(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return -1;
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  port = ntohs(a.sin_port);
  return fd;
}

int Port() {
  int port = 0;
  const int fd = BindFree(port);
  if (fd < 0) return 1;
  close(fd);
  std::printf("%d\n", port);
  return 0;
}

int Silent() {
  int port = 0;
  const int fd = BindFree(port);
  if (fd < 0 || listen(fd, 64) != 0) return 1;
  std::printf("%d\n", port);
  std::fflush(stdout);
  std::vector<int> held;  // open and unanswered
  for (;;) {
    const int c = accept(fd, nullptr, nullptr);
    if (c >= 0) held.push_back(c);
  }
}

int Click(int x, int y) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 2;
  const Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
  XSync(d, False);
  while (XPending(d)) {  // what happened before the click
    XEvent e;
    XNextEvent(d, &e);
  }
  const auto start = std::chrono::steady_clock::now();
  XTestFakeButtonEvent(d, 3, True, CurrentTime);
  XTestFakeButtonEvent(d, 3, False, CurrentTime);
  XFlush(d);
  const int fd = ConnectionNumber(d);
  for (;;) {
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (ms > 2000) return 1;
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == MapNotify && e.xmap.event == root) {
        std::printf("%.1f\n",
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        XCloseDisplay(d);
        return 0;
      }
    }
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, 5);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "silent") == 0) return Silent();
  if (argc == 2 && std::strcmp(argv[1], "port") == 0) return Port();
  if (argc == 4 && std::strcmp(argv[1], "click") == 0) return Click(std::atoi(argv[2]), std::atoi(argv[3]));
  std::fputs("usage: remoteprobe silent | remoteprobe port | remoteprobe click X Y\n", stderr);
  return 2;
}
