// The body of the gauge fuzz target, shared with the ordinary test that replays its saved
// corpus. The bytes are a program of calls a user of the gauge may make: values, ranges and rim
// marks of any double (NaN, infinities, the extremes), needle sizes, rims, ticks, decimals,
// layouts, frames, fonts of any size and densities, and paints on a host of any size up to
// 256 x 256. The gauge must not crash, read or write out of bounds, or hang (ASan and UBSan in
// the fuzz build, and the fuzzer's timeout, catch the rest).
//
//   EXPECT_TRUE(FuzzGaugeCommands(bytes.data(), bytes.size()));
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "base/Exceptions.h"
#include "fuzz/FuzzInput.h"
#include "gauge/Meter.h"
#include "platform/BitmapHost.h"

namespace varnel::fuzz {

inline bool FuzzGaugeCommands(const std::uint8_t* data, std::size_t size) {
  TFuzzBytes in(data, size);
  TMeter meter;
  TBitmapHost host(1 + in.Pick(256), 1 + in.Pick(256));
  host.SetBackBuffer(in.Byte() & 1);
  meter.SetHost(&host);
  host.OnPaint = [&meter] { meter.Paint(); };
  for (int step = 0; step < 300 && !in.Empty(); ++step) {
    try {
      switch (in.Pick(14)) {
        case 0:
        case 1:
          meter.SetValue(FuzzDouble(in));
          break;
        case 2:
          meter.SetMeterMinValue(FuzzDouble(in));
          meter.SetMeterMaxValue(FuzzDouble(in));
          break;
        case 3: {
          std::optional<double> second;
          if (in.Byte() & 1) second = FuzzDouble(in);
          meter.SetSecondNeedle(second, static_cast<TColor>(in.Word() & 0xFFFFFF));
          break;
        }
        case 4: {
          std::vector<TMeter::TRimMark> marks(static_cast<std::size_t>(in.Pick(70)));
          for (TMeter::TRimMark& m : marks) m = {FuzzDouble(in), static_cast<TColor>(in.Word() & 0xFFFFFF)};
          meter.SetRimMarks(marks);
          break;
        }
        case 5: {
          TNeedleLayout n;
          n.SetHeadSize(FuzzInt(in));
          n.SetHeadAngle(FuzzInt(in));
          n.SetHeadMidLeng(FuzzInt(in));
          n.SetAnchorSize(FuzzInt(in));
          n.SetAnchorCovered(in.Byte() & 1);
          n.SetThickness(FuzzInt(in));
          n.SetShadowDx(FuzzInt(in));
          n.SetShadowDy(FuzzInt(in));
          meter.SetNeedleLayout(n);
          break;
        }
        case 6:
          meter.SetRimBottom(FuzzInt(in));
          meter.SetRimTop(FuzzInt(in));
          meter.SetRimSide(FuzzInt(in));
          break;
        case 7:
          meter.SetMeterDecPlaces(FuzzInt(in));
          meter.SetMeterNrTicks(FuzzInt(in));
          meter.SetMeterShortTicks(in.Byte() & 1);
          meter.SetMeterScaleLine(in.Byte() & 1);
          break;
        case 8:
          meter.SetMeterLayout(static_cast<TMeterLayout>(in.Pick(3)));
          meter.SetFrameStyle(static_cast<TFrameStyle>(in.Pick(6)));
          meter.SetColorScheme(static_cast<TColorScheme>(in.Pick(2)));
          meter.SetContrastText(in.Byte() & 1);
          break;
        case 9:
          meter.SetLimWatchHighOn(in.Byte() & 1);
          meter.SetLimWatchLowOn(in.Byte() & 1);
          meter.SetCaption(FuzzText(in));
          break;
        case 10: {
          TFont f;
          f.SetSize(in.Byte() & 1 ? in.Pick(80) - 10 : FuzzInt(in));
          meter.SetFont(f);
          break;
        }
        case 11:
          meter.SetScale(TPixelScale(FuzzInt(in)));
          break;
        case 12:
          host.Resize(in.Pick(257), in.Pick(257));
          host.Invalidate();
          break;
        default:
          host.Flush();
          meter.Paint();
          break;
      }
    } catch (const Exception&) {
      // A refusal of the component's own: allowed.
    }
  }
  return true;
}

}  // namespace varnel::fuzz
