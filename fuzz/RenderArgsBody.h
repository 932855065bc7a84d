// The body of the fuzz target for varnel-render's command line, shared with the ordinary test
// that replays its saved corpus. The bytes are split at NUL bytes into arguments; whatever the
// parser accepts must lie in range and read back the same when written out again. The bytes are
// also read as a samples file's text, under the same rule.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/RenderArgs.h"

namespace varnel::fuzz {

inline bool SameRenderArgs(const TRenderArgs& a, const TRenderArgs& b) {
  return a.Help == b.Help && a.Ini == b.Ini && a.Width == b.Width && a.Height == b.Height && a.Samples == b.Samples &&
         a.SamplesFile == b.SamplesFile && a.Out == b.Out;
}

// Returns false when an invariant fails (the fuzz target then aborts).
inline bool FuzzRenderArgs(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string why;
  std::vector<std::int32_t> samples;
  if (ParseSampleText(bytes, samples, why)) {
    if (!why.empty() || samples.size() > RenderMaxSamples) return false;
    std::string list;
    for (const std::int32_t v : samples) list += (list.empty() ? "" : ",") + std::to_string(v);
    std::vector<std::int32_t> again;
    if (!ParseSampleText(list, again, why) || again != samples) return false;
  } else if (why.empty()) {
    return false;
  }
  why.clear();
  std::vector<std::string_view> args;
  for (std::size_t start = 0; start <= bytes.size() && args.size() < 64;) {
    const std::size_t nul = bytes.find('\0', start);
    const std::size_t end = nul == std::string_view::npos ? bytes.size() : nul;
    args.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  const std::optional<TRenderArgs> parsed = ParseRenderArgs(args, why);
  if (!parsed) return !why.empty();
  if (parsed->Help) return parsed->Ini.empty() && parsed->Out.empty() && parsed->Samples.empty();
  if (parsed->Ini.empty() || parsed->Out.empty()) return false;
  if (parsed->Width < 1 || parsed->Width > RenderMaxSide || parsed->Height < 1 || parsed->Height > RenderMaxSide)
    return false;
  if (parsed->Samples.size() > RenderMaxSamples) return false;

  // Written out in a fixed order, the values parse to the same arguments.
  std::vector<std::string> again = {"--out", parsed->Out, "--size",
                                    std::to_string(parsed->Width) + "x" + std::to_string(parsed->Height), "--ini",
                                    parsed->Ini};
  if (!parsed->SamplesFile.empty()) again.insert(again.begin(), {"--samples-file", parsed->SamplesFile});
  if (!parsed->Samples.empty()) {
    std::string list;
    for (const std::int32_t v : parsed->Samples) list += (list.empty() ? "" : ",") + std::to_string(v);
    again.insert(again.begin(), {"--samples", list});
  }
  const std::vector<std::string_view> views(again.begin(), again.end());
  const std::optional<TRenderArgs> reparsed = ParseRenderArgs(views, why);
  return reparsed && SameRenderArgs(*parsed, *reparsed);
}

}  // namespace varnel::fuzz
