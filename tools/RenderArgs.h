// The command line of varnel-render, parsed into values: the settings file to read, the
// window size, the scripted loads and the picture to write, or a request for the usage text.
// Kept apart from the program so that the tests and a fuzz target can call it.
//
//   std::string why;
//   std::optional<TRenderArgs> a = ParseRenderArgs({"--ini", "F.INI", "--size", "332x190", "--out", "w.png"}, why);
//   // a->Width == 332, a->Samples empty; on nullopt `why` says what was wrong
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// The largest picture side the tool draws.
inline constexpr int RenderMaxSide = 8192;
// The most samples one run takes (a day of ticks).
inline constexpr std::size_t RenderMaxSamples = 86400;

struct TRenderArgs {
  bool Help = false;  // --help: print the usage on standard output; nothing else is set
  std::string Ini;
  int Width = 0;
  int Height = 0;
  std::vector<std::int32_t> Samples;
  // Each sample's cores (a load 0..100, or none for a core without one), from a samples file's
  // per-core lines; empty for a sample without cores.
  std::vector<std::vector<std::optional<std::int32_t>>> Cores;
  std::string SamplesFile;  // --samples-file: the samples are read from it ("-": standard input)
  std::string Out;
  int PixelsPerInch = 96;   // --dpi: the screen density to draw at, as the program takes it
  std::string DpiWarning;   // set when --dpi was no density in 48..480 (then 96)
};

// Parses the arguments after the program name. Every option but --help takes one value and
// may appear once, and --samples and --samples-file exclude each other; --ini, --size and --out
// are required. Returns nullopt with the reason in
// `why` for anything else.
std::optional<TRenderArgs> ParseRenderArgs(std::span<const std::string_view> args, std::string& why);

// The most bytes a samples file may hold (a day of samples with 64 cores each fits).
inline constexpr std::size_t RenderMaxSamplesBytes = 64u << 20;
// The most cores one sample may have.
inline constexpr std::size_t RenderMaxCores = 8192;

// Appends the samples of a samples file's text to `out`: whole decimal integers separated by
// commas, blanks or line ends (a comma stands between two numbers). A line with a colon is one
// sample with its cores: the total, ":", then each core's load in core order (0..100, or "-"
// for a core without a load), separated by blanks or commas, e.g. "37: 10 100 - 4". Each
// sample's cores go to `cores` (when given) at the sample's index, empty for a plain number.
// Returns false with the reason in `why` for anything else or for more than RenderMaxSamples
// in all.
bool ParseSampleText(std::string_view text, std::vector<std::int32_t>& out, std::string& why,
                     std::vector<std::vector<std::optional<std::int32_t>>>* cores = nullptr);

// The usage text, ending in a newline.
std::string RenderUsage();

}  // namespace varnel
