// The text back end's font store: finds a font file for a TFont through fontconfig, opens it
// with FreeType once, and keeps each size (and angle) with its metrics and its glyphs, measured
// and rendered once. Internal to platform/canvas; the canvas reaches it from CanvasText.cpp.
//
//   std::lock_guard lock(TFontCache::Instance().Mutex());
//   if (TSizedFont* f = TFontCache::Instance().Find(canvas.Font())) width = f->Glyph(U'A')->Advance;
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// FreeType types without FreeType's headers.
struct FT_LibraryRec_;
struct FT_FaceRec_;
struct FT_SizeRec_;

namespace varnel {

class TFont;

namespace text {

// Glyph sizes are capped here (a Height of a million pixels would otherwise ask for
// terabytes of glyph bitmaps); larger requests draw at this em size.
constexpr int kMaxPixelsPerEm = 1000;

// One glyph of a sized font. The box (Left, Top, Width, Rows) places the coverage bitmap
// relative to the pen on the baseline: its top-left pixel is at (pen + Left, baseline - Top).
// Before the glyph is rendered the box is the hinted outline's box, which the bitmap matches.
struct TGlyph {
  int Advance = 0;  // hinted advance width in whole pixels
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Rows = 0;
  bool Rendered = false;
  std::vector<std::uint8_t> Coverage;  // Rows x Width bytes, 0 = background, 255 = ink
};

// The face a font name and style resolved to.
struct TFaceInfo {
  std::string Name;  // requested family
  bool Bold = false;
  bool Italic = false;
  FT_FaceRec_* Face = nullptr;  // null: no font at all
  bool SynthBold = false;       // the file has no bold face: embolden the outlines
  bool SynthItalic = false;     // the file has no italic face: slant the outlines
  std::string File;
};

// A face at one size and angle with its metrics in pixels and its glyph cache.
class TSizedFont {
 public:
  TSizedFont(FT_LibraryRec_* library, const TFaceInfo& face, int height, int angle);
  ~TSizedFont();
  TSizedFont(const TSizedFont&) = delete;
  TSizedFont& operator=(const TSizedFont&) = delete;

  bool Valid() const { return FSize != nullptr; }
  bool Matches(const std::string& name, int height, int styles, int angle) const {
    return FHeight == height && FStyles == styles && FAngle == angle && FName == name;
  }

  // Metrics (rounded outward from the face's ascender and descender).
  int Ascent = 0;
  int Descent = 0;
  int PixelsPerEm = 0;
  int AveCharWidth = 0;
  // Rows of the underline and the strike-out: first row relative to the baseline row (the
  // first row below the baseline is 0) and thickness.
  int UnderlineOffset = 1;
  int UnderlineThickness = 1;
  int StrikeOffset = -3;
  int StrikeThickness = 1;
  // Angle in tenths of a degree (0..3599) the glyphs are rendered at; 0 for the right angles,
  // whose glyphs are rendered upright and turned while they are drawn.
  int Angle() const { return FAngle; }
  const std::string& File() const { return FFile; }

  // The glyph of a code point with its advance and box. With render, its coverage too. Never
  // null; a code point the face lacks gives the face's missing-glyph shape.
  TGlyph* Glyph(char32_t codePoint, bool render = false);

 private:
  bool Load(char32_t codePoint, TGlyph& glyph, bool render);

  FT_FaceRec_* FFace;
  FT_SizeRec_* FSize = nullptr;
  std::string FName;
  std::string FFile;
  int FHeight;
  int FStyles;
  int FAngle;
  bool FSynthBold;
  bool FSynthItalic;
  std::array<TGlyph, 128> FAscii{};
  std::array<bool, 128> FAsciiLoaded{};
  std::unordered_map<char32_t, TGlyph> FOther;
};

// The process's font store. Every use, glyph pointers included, happens under Mutex().
class TFontCache {
 public:
  static TFontCache& Instance();
  std::mutex& Mutex() { return FMutex; }

  // The sized font for the font's name, style, height and angle; null when no font file can
  // be found or opened at all (text then draws nothing and measures 0).
  TSizedFont* Find(const TFont& font);

  // The font file a family name and style resolve to ("" when none); for diagnostics.
  std::string ResolveFile(const std::string& name, bool bold, bool italic);

  TFontCache(const TFontCache&) = delete;
  TFontCache& operator=(const TFontCache&) = delete;
  ~TFontCache();

 private:
  TFontCache();
  const TFaceInfo& Face(const std::string& name, bool bold, bool italic);
  FT_FaceRec_* OpenFile(const std::string& file, int index);

  std::mutex FMutex;
  FT_LibraryRec_* FLibrary = nullptr;
  void* FConfig = nullptr;  // FcConfig
  std::vector<std::unique_ptr<TFaceInfo>> FFaces;
  std::vector<std::pair<std::string, FT_FaceRec_*>> FOpenFiles;  // "file#index" -> face
  std::vector<std::unique_ptr<TSizedFont>> FSized;
  TSizedFont* FLast = nullptr;
};

}  // namespace text
}  // namespace varnel
