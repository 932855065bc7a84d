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
  std::string SamplesFile;  // --samples-file: the samples are read from it ("-": standard input)
  std::string Out;
};

// Parses the arguments after the program name. Every option but --help takes one value and
// may appear once, and --samples and --samples-file exclude each other; --ini, --size and --out
// are required. Returns nullopt with the reason in
// `why` for anything else.
std::optional<TRenderArgs> ParseRenderArgs(std::span<const std::string_view> args, std::string& why);

// The most bytes a samples file may hold (a day of samples at any width of number fits).
inline constexpr std::size_t RenderMaxSamplesBytes = 4u << 20;

// Appends the samples of a samples file's text to `out`: whole decimal integers separated by
// commas, blanks or line ends (a comma stands between two numbers). Returns false with the
// reason in `why` for anything else or for more than RenderMaxSamples in all.
bool ParseSampleText(std::string_view text, std::vector<std::int32_t>& out, std::string& why);

// The usage text, ending in a newline.
std::string RenderUsage();

}  // namespace varnel
