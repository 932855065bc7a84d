// TBitmapWidget: the control host of a component inside the main window.
#include "ui/BitmapWidget.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

#include "base/Color.h"
#include "ui/X11Hints.h"

namespace varnel {

namespace {
bool UsePutImage() {
  static const bool rgb24 = x11::VisualIsRgb24();
  return rgb24;
}
void SetColor(TColor c) {
  const TColor rgb = ColorToRGB(c);
  fl_color(static_cast<uchar>(GetRValue(rgb)), static_cast<uchar>(GetGValue(rgb)), static_cast<uchar>(GetBValue(rgb)));
}
}  // namespace

TBitmapWidget::TBitmapWidget(int x, int y, int w, int h, int edge) : Fl_Widget(x, y, w, h), FEdge(edge) {
  box(FL_NO_BOX);
  FSurface.SetSize(std::max(0, w - 2 * edge), std::max(0, h - 2 * edge));
}

TCanvas* TBitmapWidget::WindowCanvas() { return FSurface.Empty() ? nullptr : &FSurface.Canvas(); }

void TBitmapWidget::Invalidate() {
  FInvalidated = true;
  redraw();
}

void TBitmapWidget::Present() {
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
    redraw();
  } else {
    hide();
  }
  if (parent()) parent()->redraw();
}

void TBitmapWidget::resize(int x, int y, int w, int h) {
  const bool sized = w != this->w() || h != this->h();
  Fl_Widget::resize(x, y, w, h);
  if (!sized) return;
  FSurface.SetSize(std::max(0, w - 2 * FEdge), std::max(0, h - 2 * FEdge));
  FInvalidated = true;
  if (OnResize) OnResize();
}

int TBitmapWidget::handle(int event) {
  // Entering matters only for the child's own tooltip; everything else is the window's.
  if (FOwnTooltip && (event == FL_ENTER || event == FL_MOVE)) return 1;
  return 0;
}

void TBitmapWidget::draw() {
  if (FInvalidated) {
    FInvalidated = false;
    if (OnPaint) OnPaint();
  }
  if (FCoveredBy && FCoveredBy->visible()) return;
  if (FEdge > 0) DrawEdge();
  PutSurface();
}

void TBitmapWidget::DrawEdge() {
  // The sunken client edge: shadow over dark shadow at the top and left, highlight over light
  // at the bottom and right.
  const int l = x(), t = y(), r = x() + w() - 1, b = y() + h() - 1;
  SetColor(clBtnShadow);
  fl_xyline(l, t, r - 1);
  fl_yxline(l, t, b - 1);
  SetColor(clBtnHighlight);
  fl_xyline(l, b, r);
  fl_yxline(r, t, b);
  SetColor(cl3DDkShadow);
  fl_xyline(l + 1, t + 1, r - 2);
  fl_yxline(l + 1, t + 1, b - 2);
  SetColor(cl3DLight);
  fl_xyline(l + 1, b - 1, r - 1);
  fl_yxline(r - 1, t + 1, b - 1);
}

void TBitmapWidget::PutSurface() {
  if (FSurface.Empty()) return;
  const int sw = FSurface.Width(), sh = FSurface.Height();
  const int dx = x() + FEdge, dy = y() + FEdge;
  if (UsePutImage()) {
    XImage img{};
    img.width = sw;
    img.height = sh;
    img.xoffset = 0;
    img.format = ZPixmap;
    img.data = reinterpret_cast<char*>(FSurface.Data());
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
  const std::uint32_t* p = FSurface.Data();
  for (std::size_t i = 0, n = static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh); i < n; ++i) {
    rgb[i * 3] = static_cast<uchar>(p[i] >> 16);
    rgb[i * 3 + 1] = static_cast<uchar>(p[i] >> 8);
    rgb[i * 3 + 2] = static_cast<uchar>(p[i]);
  }
  fl_draw_image(rgb.data(), dx, dy, sw, sh, 3);
}

}  // namespace varnel
