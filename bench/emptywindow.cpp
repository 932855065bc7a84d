// The yardstick of bench/resources.sh: an FLTK window that does nothing but redraw a 332 x 190
// picture once a second (what a monitor costs with no work of its own). Built by the script.
//
//   emptywindow [X Y]
#include <FL/Fl.H>
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <cstdlib>
#include <vector>

namespace {

constexpr int W = 332, H = 190;

class TPicture : public Fl_Widget {
 public:
  TPicture() : Fl_Widget(0, 0, W, H), FPixels(static_cast<std::size_t>(W) * H * 3) {}
  void Next() {
    ++FFrame;
    for (std::size_t i = 0; i < FPixels.size(); i += 3) {
      FPixels[i] = 0xC0;
      FPixels[i + 1] = static_cast<unsigned char>(0xC0 - (FFrame & 0x1F));
      FPixels[i + 2] = 0xC0;
    }
    redraw();
  }
  void draw() override { fl_draw_image(FPixels.data(), x(), y(), W, H, 3); }

 private:
  std::vector<unsigned char> FPixels;
  int FFrame = 0;
};

void Tick(void* data) {
  Fl::repeat_timeout(1.0, Tick, data);
  static_cast<TPicture*>(data)->Next();
}

}  // namespace

int main(int argc, char** argv) {
  Fl::visual(FL_RGB);
  Fl_Window win(W, H, "empty");
  if (argc > 2) win.position(atoi(argv[1]), atoi(argv[2]));
  TPicture picture;
  win.end();
  picture.Next();
  win.show();
  Fl::add_timeout(1.0, Tick, &picture);
  return Fl::run();
}
