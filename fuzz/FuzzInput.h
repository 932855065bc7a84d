// The fuzz targets' reading of their input: bytes a piece at a time, and the values worth
// trying that the bodies of the canvas, chart and gauge targets draw from them (the special
// doubles, the int range's ends, texts of any bytes).
//
//   TFuzzBytes in(data, size);  chart.LeftAxis().SetMaximum(FuzzDouble(in));
#pragma once
#include <cfloat>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace varnel::fuzz {

// Reads the fuzz input a piece at a time; zeros once it is used up.
class TFuzzBytes {
 public:
  TFuzzBytes(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  bool Empty() const { return FPos >= FSize; }
  std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
  int Pick(int n) { return Byte() % n; }
  std::uint32_t Word() {
    std::uint32_t w = 0;
    for (int i = 0; i < 4; ++i) w = (w << 8) | Byte();
    return w;
  }
  int Coord() {
    const std::uint8_t b = Byte();
    switch (b % 8) {
      case 0: return INT_MIN + (b >> 3) % 3;
      case 1: return INT_MAX - (b >> 3) % 3;
      case 2: return static_cast<int>(Word());
      case 3: return (b & 8) ? (1 << 30) : -(1 << 30);
      default: return (b >> 3) * 3 - 20;  // near the bitmap: -20 .. 73
    }
  }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

// A double worth trying: the special values, the extremes, small whole numbers and any bits.
inline double FuzzDouble(TFuzzBytes& in) {
  switch (in.Pick(12)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return DBL_MAX;
    case 4: return -DBL_MAX;
    case 5: return DBL_MIN;
    case 6: return DBL_TRUE_MIN;
    case 7: {
      std::uint64_t bits = (std::uint64_t{in.Word()} << 32) | in.Word();
      double d;
      std::memcpy(&d, &bits, sizeof d);
      return d;
    }
    case 8: return static_cast<double>(static_cast<std::int32_t>(in.Word()));
    default: return static_cast<double>(in.Pick(201)) - 50;
  }
}

// An int worth trying: the extremes, any 32 bits, or a small one.
inline int FuzzInt(TFuzzBytes& in) {
  switch (in.Pick(6)) {
    case 0: return INT_MIN;
    case 1: return INT_MAX;
    case 2: return static_cast<int>(in.Word());
    case 3: return 1000000;
    default: return in.Pick(41) - 10;
  }
}

// A short text of any bytes (formats, captions, titles).
inline std::string FuzzText(TFuzzBytes& in) {
  static const char* const kSamples[] = {"", "0", "#,##0.00", "0.###E+00", "dd/mm/yyyy hh:nn:ss", "\"CPU\" ###0",
                                         "CPU ###0", "0%;(0);\"zero\"", "mmmm yyyy", "'x' #0.0;-#", "###0"};
  if (in.Byte() & 1) return kSamples[in.Pick(sizeof kSamples / sizeof kSamples[0])];
  std::string s(static_cast<std::size_t>(in.Pick(24)), ' ');
  for (char& c : s) c = static_cast<char>(in.Byte());
  return s;
}

}  // namespace varnel::fuzz
