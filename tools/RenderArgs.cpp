// varnel-render's command line: one pass over the arguments, each option checked as it comes.
#include "tools/RenderArgs.h"

#include <algorithm>

#include "base/PixelScale.h"
#include "base/Text.h"

namespace varnel {
namespace {

// A whole decimal integer (optional sign), nothing else: no blanks, no "$" hexadecimal.
std::optional<int> ParseDecimal(std::string_view s) {
  if (s.empty() || s.front() == ' ' || s.front() == '$') return std::nullopt;
  return TryStrToInt(s);
}

bool ParseSize(std::string_view val, TRenderArgs& a) {
  const std::size_t x = val.find('x');
  if (x == std::string_view::npos) return false;
  const auto w = ParseDecimal(val.substr(0, x));
  const auto h = ParseDecimal(val.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > RenderMaxSide || *h > RenderMaxSide) return false;
  a.Width = *w;
  a.Height = *h;
  return true;
}

bool ParseSamples(std::string_view val, TRenderArgs& a) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = val.find(',', start);
    const auto v = ParseDecimal(val.substr(start, comma == std::string_view::npos ? val.npos : comma - start));
    if (!v || a.Samples.size() >= RenderMaxSamples) return false;
    a.Samples.push_back(*v);
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The first 20 bytes of a bad word for a message on the terminal: printable ASCII as it is, any
// other byte as \xNN, so that a binary file's bytes neither garble nor drive the terminal.
std::string Excerpt(std::string_view word) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : word.substr(0, 20)) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
  return out;
}

}  // namespace

bool ParseSampleText(std::string_view text, std::vector<std::int32_t>& out, std::string& why,
                     std::vector<std::vector<std::optional<std::int32_t>>>* cores) {
  const auto bad = [&](std::string_view what, const char* rule) {
    why = "bad sample \"" + Excerpt(what) + "\" (" + rule + ")";
    return false;
  };
  // The numbers of a part of the text; per core, "-" stands for no load.
  const auto numbers = [&](std::string_view part, bool core, auto&& take) {
    std::size_t i = 0;
    const auto skipBlanks = [&] {
      while (i < part.size() && IsBlank(part[i])) ++i;
    };
    skipBlanks();
    while (i < part.size()) {
      std::size_t end = i;
      while (end < part.size() && !IsBlank(part[end]) && part[end] != ',') ++end;
      const std::string_view word = part.substr(i, end - i);
      std::optional<std::int32_t> v;
      if (!(core && word == "-")) {
        v = ParseDecimal(word);
        if (!v) return bad(word, "whole numbers only");
        if (core && (*v < 0 || *v > 100)) return bad(word, "a core's load is 0..100 or -");
      }
      if (!take(v)) return false;
      i = end;
      skipBlanks();
      if (i < part.size() && part[i] == ',') {
        ++i;
        skipBlanks();
        if (i == part.size()) {
          why = "a comma at the end of the samples";
          return false;
        }
      }
    }
    return true;
  };
  const auto addSample = [&](std::int32_t v) {
    if (out.size() >= RenderMaxSamples) {
      why = "more than " + std::to_string(RenderMaxSamples) + " samples";
      return false;
    }
    out.push_back(v);
    if (cores) cores->resize(out.size());
    return true;
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    // The plain numbers up to the next line with cores, then that line.
    const std::size_t colon = text.find(':', pos);
    std::size_t lineStart = colon == std::string_view::npos ? text.size() : text.rfind('\n', colon);
    lineStart = lineStart == std::string_view::npos || lineStart < pos ? pos : lineStart + (colon != text.npos);
    if (!numbers(text.substr(pos, lineStart - pos), false, [&](std::optional<std::int32_t> v) { return addSample(*v); }))
      return false;
    if (colon == std::string_view::npos) break;
    std::size_t lineEnd = text.find('\n', colon);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    int totals = 0;
    std::int32_t total = 0;
    if (!numbers(text.substr(lineStart, colon - lineStart), false, [&](std::optional<std::int32_t> v) {
          total = *v;
          return ++totals == 1;
        }) ||
        totals != 1) {
      if (why.empty()) why = "a line with cores starts with one total and a colon";
      return false;
    }
    std::vector<std::optional<std::int32_t>> loads;
    if (!numbers(text.substr(colon + 1, lineEnd - colon - 1), true, [&](std::optional<std::int32_t> v) {
          if (loads.size() >= RenderMaxCores) {
            why = "more than " + std::to_string(RenderMaxCores) + " cores in a sample";
            return false;
          }
          loads.push_back(v);
          return true;
        }))
      return false;
    if (!addSample(total)) return false;
    if (cores) cores->back() = std::move(loads);
    pos = lineEnd;
  }
  return true;
}

std::optional<TRenderArgs> ParseRenderArgs(std::span<const std::string_view> args, std::string& why) {
  TRenderArgs a;
  bool haveSize = false, haveSamples = false, haveDpi = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view opt = args[i];
    if (opt == "--help" || opt == "-h") {
      TRenderArgs help;
      help.Help = true;
      return help;
    }
    if (i + 1 >= args.size()) {
      why = "missing value after " + std::string(opt);
      return std::nullopt;
    }
    const std::string_view val = args[++i];
    if (opt == "--ini" && a.Ini.empty() && !val.empty()) {
      a.Ini = val;
    } else if (opt == "--out" && a.Out.empty() && !val.empty()) {
      a.Out = val;
    } else if (opt == "--size" && !haveSize) {
      if (!ParseSize(val, a)) {
        why = "bad --size (WIDTHxHEIGHT, each 1.." + std::to_string(RenderMaxSide) + ")";
        return std::nullopt;
      }
      haveSize = true;
    } else if (opt == "--dpi" && !haveDpi) {
      // As the program takes it: a value that is no density draws at 96, with a warning.
      const TPixelsPerInchChoice dpi = ChooseScreenPixelsPerInch(val, std::nullopt);
      a.PixelsPerInch = dpi.PixelsPerInch;
      a.DpiWarning = dpi.Warning;
      haveDpi = true;
    } else if (opt == "--samples-file" && !haveSamples && !val.empty()) {
      a.SamplesFile = val;
      haveSamples = true;
    } else if (opt == "--samples" && !haveSamples) {
      if (!ParseSamples(val, a)) {
        why = "bad --samples (comma-separated integers, at most " + std::to_string(RenderMaxSamples) + ")";
        return std::nullopt;
      }
      haveSamples = true;
    } else {
      why = "unknown, repeated or empty option " + std::string(opt);
      return std::nullopt;
    }
  }
  if (a.Ini.empty() || a.Out.empty() || !haveSize) {
    why = "--ini, --size and --out are required";
    return std::nullopt;
  }
  return a;
}

std::string RenderUsage() {
  return "usage: varnel-render --ini FILE --size WIDTHxHEIGHT [--samples V1,V2,... | --samples-file FILE]\n"
         "                     [--dpi N] --out FILE.png\n"
         "       varnel-render --help\n"
         "Draws Varnel's window without a display and writes its client area as a PNG picture.\n"
         "  --ini FILE        settings file, read as the program reads it at start-up (never written)\n"
         "  --size WxH        the window's outer size, 1.." +
         std::to_string(RenderMaxSide) +
         " pixels each way\n"
         "  --samples LIST    loads in percent, one tick each, in order (comma-separated integers)\n"
         "  --samples-file F  the same read from file F (- for standard input), the numbers separated\n"
         "                    by commas, blanks or line ends; at most " +
         std::to_string(RenderMaxSamples) +
         ".\n"
         "                    A line \"TOTAL: C0 C1 ...\" is one tick with each core's load in core\n"
         "                    order (0..100, or - for a core without a load), e.g. \"37: 10 100 - 4\"\n"
         "  --dpi N           the screen's pixels per inch, 48..480 (default 96)\n"
         "  --out FILE.png    the picture of the client area\n"
         "  --help            this text\n";
}

}  // namespace varnel
