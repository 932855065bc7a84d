// varnel-icon: writes the program's icon at one size as a PNG picture with transparency, for
// the desktop's icon theme. The build runs it for every size it installs.
//
//   varnel-icon 48 icons/48x48/apps/varnel.png
#include <cstdio>
#include <string_view>

#include "app/ProgramIcon.h"
#include "base/Text.h"
#include "platform/canvas/Bitmap.h"

int main(int argc, char** argv) {
  using namespace varnel;
  const std::optional<int> size = argc == 3 ? TryStrToInt(argv[1]) : std::nullopt;
  if (!size || *size < 1 || *size > 1024) {
    std::fputs("usage: varnel-icon SIZE OUT.png   (SIZE 1..1024 pixels)\n", stderr);
    return 2;
  }
  if (!SaveBitmapToPng(DrawProgramIcon(*size), argv[2], ProgramIconTransparent)) {
    std::fprintf(stderr, "varnel-icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
