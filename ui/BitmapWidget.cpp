// TBitmapWidget: the control host of a component inside the main window.
#include "ui/BitmapWidget.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "base/Color.h"
#include "ui/X11Hints.h"

namespace varnel {

namespace {
// How long a window's size stays unchanged before an image far larger than its picture goes.
constexpr double SettleSeconds = 0.5;

// A shared-memory image the X server reads directly (MIT-SHM): putting the picture then costs one
// copy in memory instead of sending it through the socket.
struct TShmImage : TServerImage {
  XShmSegmentInfo Info{};
  XImage* Image = nullptr;
  std::size_t Words = 0;  // the segment's size in pixels
  std::uint32_t* Pixels() override { return reinterpret_cast<std::uint32_t*>(Image->data); }
  int Width() const override { return Image->width; }
  int Height() const override { return Image->height; }
  std::size_t Capacity() const override { return Words; }
  // Another size in the same segment: only the image's description changes, the server's
  // attachment stays.
  bool Reshape(int w, int h) override {
    if (w == Image->width && h == Image->height) return true;
    if (w <= 0 || h <= 0 || static_cast<std::size_t>(w) * static_cast<std::size_t>(h) > Words) return false;
    XImage* img = XShmCreateImage(fl_display, fl_visual->visual, 24, ZPixmap, Info.shmaddr, &Info,
                                  static_cast<unsigned>(w), static_cast<unsigned>(h));
    if (!img) return false;
    if (img->bits_per_pixel != 32 || img->bytes_per_line != w * 4) {
      XDestroyImage(img);
      return false;
    }
    XDestroyImage(Image);  // the description only
    Image = img;
    return true;
  }
  ~TShmImage() override {
    if (!Image) return;
    XShmDetach(fl_display, &Info);
    XSync(fl_display, False);
    XDestroyImage(Image);  // frees the XImage, not the segment
    shmdt(Info.shmaddr);
  }
};

bool UsePutImage() {
  static const bool rgb24 = x11::VisualIsRgb24();
  return rgb24;
}

bool ShmFailed = false;
int CatchShmError(Display*, XErrorEvent*) {
  ShmFailed = true;
  return 0;
}

// A shared image of w x h in the 0x00RRGGBB layout, or nullptr when the server cannot share
// memory with us (a remote display, no extension).
std::unique_ptr<TServerImage> CreateShmImage(int w, int h) {
  static const bool available = XShmQueryExtension(fl_display) != 0;
  if (!available) return nullptr;
  auto shm = std::make_unique<TShmImage>();
  XImage* img = XShmCreateImage(fl_display, fl_visual->visual, 24, ZPixmap, nullptr, &shm->Info,
                                static_cast<unsigned>(w), static_cast<unsigned>(h));
  if (!img) return nullptr;
  if (img->bits_per_pixel != 32 || img->bytes_per_line != w * 4) {
    XDestroyImage(img);
    return nullptr;
  }
  shm->Info.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(img->bytes_per_line) * static_cast<std::size_t>(h),
                           IPC_CREAT | 0600);
  if (shm->Info.shmid < 0) {
    XDestroyImage(img);
    return nullptr;
  }
  shm->Info.shmaddr = img->data = static_cast<char*>(shmat(shm->Info.shmid, nullptr, 0));
  shmctl(shm->Info.shmid, IPC_RMID, nullptr);  // gone once both sides detach
  if (shm->Info.shmaddr == reinterpret_cast<char*>(-1)) {
    img->data = nullptr;
    XDestroyImage(img);
    return nullptr;
  }
  shm->Info.readOnly = False;
  XSync(fl_display, False);
  ShmFailed = false;
  auto previous = XSetErrorHandler(CatchShmError);
  XShmAttach(fl_display, &shm->Info);
  XSync(fl_display, False);
  XSetErrorHandler(previous);
  if (ShmFailed) {
    shmdt(shm->Info.shmaddr);
    img->data = nullptr;
    XDestroyImage(img);
    return nullptr;
  }
  shm->Image = img;
  shm->Words = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  return shm;
}
// The largest monitor, direction by direction: a window that fits any one monitor gets a picture
// of its whole client area.
TSurfaceSize LargestMonitor() {
  TSurfaceSize largest;
  for (int i = 0, n = Fl::screen_count(); i < n; ++i) {
    int sx, sy, sw, sh;
    Fl::screen_xywh(sx, sy, sw, sh, i);
    largest.Width = std::max(largest.Width, sw);
    largest.Height = std::max(largest.Height, sh);
  }
  return largest;
}

// Every control host, for a change of monitors.
std::vector<TBitmapWidget*>& Hosts() {
  static std::vector<TBitmapWidget*> hosts;
  return hosts;
}
int ScreensChanged(int event) {
  if (event == FL_SCREEN_CONFIGURATION_CHANGED)
    for (TBitmapWidget* host : Hosts()) host->SizeSurface();
  return 0;
}

void SetColor(TColor c) {
  const TColor rgb = ColorToRGB(c);
  fl_color(static_cast<uchar>(GetRValue(rgb)), static_cast<uchar>(GetGValue(rgb)), static_cast<uchar>(GetBValue(rgb)));
}
}  // namespace

TBitmapWidget::~TBitmapWidget() {
  Fl::remove_timeout(TrimWhenSettled, this);
  std::erase(Hosts(), this);
  if (Hosts().empty()) Fl::remove_handler(ScreensChanged);
}

void TBitmapWidget::AwaitServer() {
  // The server reads the shared image some time after the put request: before drawing into it
  // again soon after a put, wait until the server is done (a round trip). Once a second needs
  // no wait.
  if (!FSurface.HasImage()) return;
  if (std::chrono::steady_clock::now() - FLastShmPut >= std::chrono::milliseconds(250)) return;
  XSync(fl_display, False);
  FLastShmPut = {};
}

TBitmapWidget::TBitmapWidget(int x, int y, int w, int h, int edge)
    : Fl_Widget(x, y, w, h), FEdge(edge), FSurface([](int sw, int sh) {
        return UsePutImage() ? CreateShmImage(sw, sh) : nullptr;
      }) {
  box(FL_NO_BOX);
  const TSurfaceSize size = BoundedSurfaceSize(w, h, edge, LargestMonitor());
  FSurface.SetSize(size.Width, size.Height);
  if (Hosts().empty()) Fl::add_handler(ScreensChanged);
  Hosts().push_back(this);
}

TCanvas* TBitmapWidget::WindowCanvas() {
  if (FSurface.Width() <= 0 || FSurface.Height() <= 0) return nullptr;
  AwaitServer();  // the caller is about to draw, perhaps into the image last put
  return &FSurface.Bitmap().Canvas();
}

void TBitmapWidget::Invalidate() {
  FInvalidated = true;
  // Only the picture changed: the edge the X server drew around it stays (an expose, a resize
  // or a redraw of the window draws it again).
  damage(PictureDamage);
}

void TBitmapWidget::Present() {
  // Within draw() the surface is put once the paint returns.
  if (FDrawing) return;
  // The surface changed outside a draw (the gauge's synchronous repaint): show it now.
  Fl_Window* win = window();
  if (!visible_r() || !win || !win->shown()) return;
  if (FCoveredBy && FCoveredBy->visible()) return;
  win->make_current();
  PutSurface();
}

void TBitmapWidget::SetVisible(bool v) {
  if (v) {
    show();
    SizeSurface();
    redraw();
  } else {
    hide();
    // A hidden child needs no picture (in a big window it is megabytes, and a shared image
    // besides): the surface goes now and comes back, at the size the window has then, when it is
    // shown.
    FSurface.SetSize(0, 0);
  }
  if (parent()) parent()->redraw();
}

void TBitmapWidget::resize(int x, int y, int w, int h) {
  const bool sized = w != this->w() || h != this->h();
  Fl_Widget::resize(x, y, w, h);
  if (sized) SizeSurface();
}

void TBitmapWidget::SizeSurface() {
  const TSurfaceSize size = visible() ? BoundedSurfaceSize(w(), h(), FEdge, LargestMonitor()) : TSurfaceSize{};
  if (size.Width == FSurface.Width() && size.Height == FSurface.Height()) return;
  FSurface.SetSize(size.Width, size.Height);
  FInvalidated = true;
  redraw();
  FLastSized = std::chrono::steady_clock::now();
  if (!Fl::has_timeout(TrimWhenSettled, this)) Fl::add_timeout(SettleSeconds, TrimWhenSettled, this);
  if (OnResize) OnResize();
}

void TBitmapWidget::TrimWhenSettled(void* data) {
  auto* self = static_cast<TBitmapWidget*>(data);
  // While the size keeps changing (a window being dragged larger and smaller, a storm of
  // resizes from another client) the image stays: each new size that fits it costs no new one.
  const double since = std::chrono::duration<double>(std::chrono::steady_clock::now() - self->FLastSized).count();
  if (since < SettleSeconds) {
    Fl::add_timeout(SettleSeconds - since, TrimWhenSettled, self);
    return;
  }
  self->FSurface.Trim();
}

int TBitmapWidget::handle(int event) {
  // Entering matters only for the child's own tooltip; everything else is the window's.
  if (FOwnTooltip && (event == FL_ENTER || event == FL_MOVE)) return 1;
  return 0;
}

void TBitmapWidget::draw() {
  if (FInvalidated) {
    FInvalidated = false;
    struct TDrawingScope {
      bool& Flag;
      explicit TDrawingScope(bool& f) : Flag(f) { Flag = true; }
      ~TDrawingScope() { Flag = false; }
    } drawing(FDrawing);
    if (OnPaint) OnPaint();
  }
  if (FCoveredBy && FCoveredBy->visible()) return;
  if (FEdge > 0 && (damage() & ~PictureDamage) != 0) DrawEdge();
  PutSurface();
}

void TBitmapWidget::SetEdge(int edge) {
  if (edge == FEdge) return;
  FEdge = edge;
  SizeSurface();
  redraw();
}

void TBitmapWidget::DrawEdge() {
  // The sunken client edge: shadow over dark shadow at the top and left, highlight over light
  // at the bottom and right; the outer ring half the edge's width, the inner one the rest.
  const int k = std::max(1, FEdge / 2), ki = std::max(1, FEdge - k);
  for (int i = 0; i < std::max(k, ki); ++i) {
    const int l = x() + i, t = y() + i, r = x() + w() - 1 - i, b = y() + h() - 1 - i;
    if (i < k) {
      SetColor(clBtnShadow);
      fl_xyline(l, t, r - 1);
      fl_yxline(l, t, b - 1);
      SetColor(clBtnHighlight);
      fl_xyline(l, b, r);
      fl_yxline(r, t, b);
    }
    if (i >= ki) continue;
    const int l2 = x() + k + i, t2 = y() + k + i, r2 = x() + w() - 1 - k - i, b2 = y() + h() - 1 - k - i;
    SetColor(cl3DDkShadow);
    fl_xyline(l2, t2, r2 - 1);
    fl_yxline(l2, t2, b2 - 1);
    SetColor(cl3DLight);
    fl_xyline(l2, b2, r2);
    fl_yxline(r2, t2, b2);
  }
}

void TBitmapWidget::PutSurface() {
  TBitmap& bitmap = FSurface.Bitmap();
  if (bitmap.Empty()) return;
  const int sw = bitmap.Width(), sh = bitmap.Height();
  const int dx = x() + FEdge, dy = y() + FEdge;
  // The picture is drawn straight into the shared image: a put copies nothing.
  if (auto* shm = static_cast<TShmImage*>(FSurface.ImageForPut())) {
    XShmPutImage(fl_display, fl_window, fl_gc, shm->Image, 0, 0, dx, dy, static_cast<unsigned>(sw),
                 static_cast<unsigned>(sh), False);
    FLastShmPut = std::chrono::steady_clock::now();
    return;
  }
  if (UsePutImage()) {
    XImage img{};
    img.width = sw;
    img.height = sh;
    img.xoffset = 0;
    img.format = ZPixmap;
    img.data = reinterpret_cast<char*>(bitmap.Data());
    img.byte_order = LSBFirst;
    img.bitmap_unit = 32;
    img.bitmap_bit_order = LSBFirst;
    img.bitmap_pad = 32;
    img.depth = 24;
    img.bytes_per_line = sw * 4;
    img.bits_per_pixel = 32;
    img.red_mask = 0xFF0000;
    img.green_mask = 0xFF00;
    img.blue_mask = 0xFF;
    if (!XInitImage(&img)) return;
    XPutImage(fl_display, fl_window, fl_gc, &img, 0, 0, dx, dy, static_cast<unsigned>(sw), static_cast<unsigned>(sh));
    return;
  }
  // Any other visual: convert to RGB bytes and let FLTK map them.
  static std::vector<uchar> rgb;
  rgb.resize(static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh) * 3);
  const std::uint32_t* p = bitmap.Data();
  for (std::size_t i = 0, n = static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh); i < n; ++i) {
    rgb[i * 3] = static_cast<uchar>(p[i] >> 16);
    rgb[i * 3 + 1] = static_cast<uchar>(p[i] >> 8);
    rgb[i * 3 + 2] = static_cast<uchar>(p[i]);
  }
  fl_draw_image(rgb.data(), dx, dy, sw, sh, 3);
}

}  // namespace varnel
