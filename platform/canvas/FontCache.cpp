// The font store of the text back end: fontconfig look-ups, FreeType faces and sizes, metrics
// and the glyph cache.
#include "platform/canvas/FontCache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_ADVANCES_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "platform/canvas/Graphics.h"

namespace varnel::text {

namespace {

// Caps on what the cache keeps: sized fonts (all dropped when exceeded, they are rebuilt on
// demand) and glyphs outside ASCII per sized font.
constexpr std::size_t kMaxSizedFonts = 64;
constexpr std::size_t kMaxOtherGlyphs = 4096;

// ceil(a / b) for a >= 0, b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

int NormalizeAngle(int tenths) {
  const int a = tenths % 3600;
  return a < 0 ? a + 3600 : a;
}

// The rows and columns of a 26.6 box rounded outward.
int Floor26(long v) { return static_cast<int>(v >> 6); }           // arithmetic shift floors
int Ceil26(long v) { return static_cast<int>((v + 63) >> 6); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TSizedFont

TSizedFont::TSizedFont(FT_LibraryRec_*, const TFaceInfo& face, int height, int angle)
    : FFace(face.Face),
      FName(face.Name),
      FFile(face.File),
      FHeight(height),
      FStyles((face.Bold ? fsBold : 0) | (face.Italic ? fsItalic : 0)),
      FAngle(angle),
      FSynthBold(face.SynthBold),
      FSynthItalic(face.SynthItalic) {
  if (!FFace || FFace->units_per_EM == 0) return;
  if (FT_New_Size(FFace, &FSize) != 0) {
    FSize = nullptr;
    return;
  }
  FT_Activate_Size(FSize);

  const std::int64_t upem = FFace->units_per_EM;
  std::int64_t ascender = FFace->ascender;
  std::int64_t descender = -static_cast<std::int64_t>(FFace->descender);
  if (ascender + descender <= 0) {  // no vertical metrics: use the glyphs' bounding box
    ascender = FFace->bbox.yMax;
    descender = -static_cast<std::int64_t>(FFace->bbox.yMin);
  }
  if (ascender < 0) ascender = 0;
  if (descender < 0) descender = 0;
  if (ascender + descender <= 0) ascender = upem;
  // Ascent and descent at a pixel size: the scaled values rounded outward.
  auto ascentAt = [&](std::int64_t ppem) { return CeilDiv(ascender * ppem, upem); };
  auto descentAt = [&](std::int64_t ppem) { return CeilDiv(descender * ppem, upem); };

  std::int64_t ppem;
  if (height < 0) {
    ppem = -static_cast<std::int64_t>(height);  // the em height
  } else {
    // A cell height (0: the default cell of 16 pixels): the largest em size whose ascent plus
    // descent fits the cell, starting from the proportional estimate.
    const std::int64_t cell = height == 0 ? 16 : height;
    ppem = (upem * cell + (ascender + descender) / 2) / (ascender + descender);
    ppem = std::clamp<std::int64_t>(ppem, 1, kMaxPixelsPerEm);
    while (ppem > 1 && ascentAt(ppem) + descentAt(ppem) > cell) --ppem;
    while (ppem < kMaxPixelsPerEm && ascentAt(ppem + 1) + descentAt(ppem + 1) <= cell) ++ppem;
  }
  ppem = std::clamp<std::int64_t>(ppem, 1, kMaxPixelsPerEm);
  if (FT_Set_Pixel_Sizes(FFace, 0, static_cast<FT_UInt>(ppem)) != 0) {
    FT_Done_Size(FSize);
    FSize = nullptr;
    return;
  }
  PixelsPerEm = static_cast<int>(ppem);
  Ascent = static_cast<int>(ascentAt(ppem));
  Descent = static_cast<int>(descentAt(ppem));

  auto scale = [&](std::int64_t units) { return static_cast<double>(units) * static_cast<double>(ppem) / upem; };
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(FFace, FT_SFNT_OS2));
  // Average width: the classic weighted mean of the lower-case letters and the space (the
  // figure older fonts store, and the one a metric-compatible face must reproduce even when it
  // stores the mean over all its glyphs), else the face's stored figure, else the x's advance.
  static constexpr int kWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                       56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166};
  std::int64_t weighted = 0;
  for (int k = 0; k < 27 && weighted >= 0; ++k) {
    const FT_UInt index = FT_Get_Char_Index(FFace, k < 26 ? 'a' + k : ' ');
    FT_Fixed advance = 0;
    if (index == 0 || FT_Get_Advance(FFace, index, FT_LOAD_NO_SCALE, &advance) != 0) weighted = -1;
    else weighted += kWeights[k] * static_cast<std::int64_t>(advance);
  }
  if (weighted > 0) AveCharWidth = static_cast<int>(std::lround(scale(weighted) / 1000.0));
  else if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0) AveCharWidth = static_cast<int>(std::lround(scale(os2->xAvgCharWidth)));
  else AveCharWidth = Glyph(U'x')->Advance;

  // Underline: centred on the face's underline position below the baseline, inside the cell.
  UnderlineThickness = std::max(1, static_cast<int>(std::lround(scale(FFace->underline_thickness))));
  const double centre = -scale(FFace->underline_position);
  UnderlineOffset = static_cast<int>(std::lround(centre - UnderlineThickness / 2.0));
  if (UnderlineOffset > Descent - UnderlineThickness) UnderlineOffset = Descent - UnderlineThickness;
  if (UnderlineOffset < 0) UnderlineOffset = 0;
  // Strike-out: the face's stroke (top edge above the baseline), else a third of the ascent.
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    StrikeThickness = std::max(1, static_cast<int>(std::lround(scale(os2->yStrikeoutSize))));
    StrikeOffset = -static_cast<int>(std::lround(scale(os2->yStrikeoutPosition)));
  } else {
    StrikeThickness = UnderlineThickness;
    StrikeOffset = -std::max(1, Ascent / 3);
  }
}

TSizedFont::~TSizedFont() {
  if (FSize) FT_Done_Size(FSize);
}

TGlyph* TSizedFont::Glyph(char32_t codePoint, bool render) {
  TGlyph* glyph;
  if (codePoint < 128) {
    glyph = &FAscii[codePoint];
    if (!FAsciiLoaded[codePoint]) {
      FAsciiLoaded[codePoint] = true;
      Load(codePoint, *glyph, render);
      return glyph;
    }
  } else {
    auto it = FOther.find(codePoint);
    if (it == FOther.end()) {
      if (FOther.size() >= kMaxOtherGlyphs) FOther.clear();
      glyph = &FOther[codePoint];
      Load(codePoint, *glyph, render);
      return glyph;
    }
    glyph = &it->second;
  }
  if (render && !glyph->Rendered) Load(codePoint, *glyph, true);
  return glyph;
}

bool TSizedFont::Load(char32_t codePoint, TGlyph& glyph, bool render) {
  glyph = TGlyph{};
  if (!FSize) return false;
  FT_Activate_Size(FSize);
  FT_UInt index = FT_Get_Char_Index(FFace, codePoint);
  if (FT_Load_Glyph(FFace, index, FT_LOAD_DEFAULT) != 0) {
    if (index == 0 || FT_Load_Glyph(FFace, 0, FT_LOAD_DEFAULT) != 0) return false;
  }
  FT_GlyphSlot slot = FFace->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (FSynthItalic) FT_GlyphSlot_Oblique(slot);
    if (FSynthBold) FT_GlyphSlot_Embolden(slot);
  }
  glyph.Advance = static_cast<int>((slot->metrics.horiAdvance + 32) >> 6);
  if (FAngle != 0) {
    // Other angles than the right ones: turn the hinted outline and render it turned.
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return true;  // no ink
    const double radians = FAngle * std::numbers::pi / 1800.0;
    const auto c = static_cast<FT_Fixed>(std::lround(std::cos(radians) * 65536.0));
    const auto s = static_cast<FT_Fixed>(std::lround(std::sin(radians) * 65536.0));
    FT_Matrix m{c, -s, s, c};
    FT_Outline_Transform(&slot->outline, &m);
    render = true;
  }
  if (!render) {
    const FT_Glyph_Metrics& gm = slot->metrics;
    glyph.Left = Floor26(gm.horiBearingX);
    glyph.Top = Ceil26(gm.horiBearingY);
    glyph.Width = std::max(0, Ceil26(gm.horiBearingX + gm.width) - glyph.Left);
    glyph.Rows = std::max(0, glyph.Top - Floor26(gm.horiBearingY - gm.height));
    return true;
  }
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
    glyph.Rendered = true;  // nothing to draw
    return false;
  }
  const FT_Bitmap& bm = slot->bitmap;
  glyph.Rendered = true;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY && bm.pixel_mode != FT_PIXEL_MODE_MONO) return true;
  glyph.Left = slot->bitmap_left;
  glyph.Top = slot->bitmap_top;
  glyph.Width = static_cast<int>(bm.width);
  glyph.Rows = static_cast<int>(bm.rows);
  glyph.Coverage.resize(static_cast<std::size_t>(glyph.Width) * static_cast<std::size_t>(glyph.Rows));
  const int pitch = bm.pitch;
  const unsigned char* top = pitch >= 0 ? bm.buffer : bm.buffer - static_cast<std::ptrdiff_t>(pitch) * (glyph.Rows - 1);
  const int grays = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
  for (int y = 0; y < glyph.Rows; ++y) {
    const unsigned char* src = top + static_cast<std::ptrdiff_t>(pitch) * y;
    std::uint8_t* dst = glyph.Coverage.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(glyph.Width);
    for (int x = 0; x < glyph.Width; ++x) {
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      else dst[x] = static_cast<std::uint8_t>(grays == 255 ? src[x] : src[x] * 255 / grays);
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// TFontCache

TFontCache& TFontCache::Instance() {
  // Never destroyed: text may be drawn from other static objects' destructors. Only the
  // fontconfig configuration goes at exit (fontconfig keeps blocks that leak checkers cannot
  // trace while it lives); names first asked for after that find no font.
  static TFontCache* cache = [] {
    auto* c = new TFontCache;
    std::atexit([] {
      TFontCache& self = Instance();
      std::lock_guard lock(self.FMutex);
      if (self.FConfig) FcConfigDestroy(static_cast<FcConfig*>(self.FConfig));
      self.FConfig = nullptr;
    });
    return c;
  }();
  return *cache;
}

TFontCache::TFontCache() {
  if (FT_Init_FreeType(&FLibrary) != 0) FLibrary = nullptr;
  FConfig = FcInitLoadConfigAndFonts();
}

TFontCache::~TFontCache() {
  FSized.clear();
  for (auto& [file, face] : FOpenFiles)
    if (face) FT_Done_Face(face);
  if (FLibrary) FT_Done_FreeType(FLibrary);
  if (FConfig) FcConfigDestroy(static_cast<FcConfig*>(FConfig));
}

FT_FaceRec_* TFontCache::OpenFile(const std::string& file, int index) {
  const std::string key = file + "#" + std::to_string(index);
  for (auto& [k, face] : FOpenFiles)
    if (k == key) return face;
  FT_Face face = nullptr;
  if (!FLibrary || FT_New_Face(FLibrary, file.c_str(), index, &face) != 0) face = nullptr;
  if (face && (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)) {
    FT_Done_Face(face);
    face = nullptr;
  }
  if (face) FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  FOpenFiles.emplace_back(key, face);
  return face;
}

namespace {

struct TMatch {
  std::string File;
  int Index = 0;
  int Weight = FC_WEIGHT_REGULAR;
  int Slant = FC_SLANT_ROMAN;
};

// The file fontconfig offers for a family and style (empty File when it offers none).
TMatch MatchFont(FcConfig* config, const std::string& family, bool bold, bool italic) {
  TMatch result;
  if (!config) return result;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return result;
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult res = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &res);
  FcPatternDestroy(pattern);
  if (!match) return result;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
    result.File = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(match, FC_INDEX, 0, &result.Index);
  FcPatternGetInteger(match, FC_WEIGHT, 0, &result.Weight);
  FcPatternGetInteger(match, FC_SLANT, 0, &result.Slant);
  FcPatternDestroy(match);
  return result;
}

}  // namespace

const TFaceInfo& TFontCache::Face(const std::string& name, bool bold, bool italic) {
  for (const auto& f : FFaces)
    if (f->Bold == bold && f->Italic == italic && f->Name == name) return *f;
  auto info = std::make_unique<TFaceInfo>();
  info->Name = name;
  info->Bold = bold;
  info->Italic = italic;
  auto* config = static_cast<FcConfig*>(FConfig);
  // The family asked for (fontconfig substitutes its aliases and, failing those, its default
  // sans), then any sans at all. The classic bitmap UI sans has no scalable twin; the Arial-metric
  // sans comes closest to its 13-pixel line at 8 points, so it is tried first for that name.
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string preferred = lower == "ms sans serif" ? "Liberation Sans" : name;
  for (const std::string& family : {preferred, name, std::string("sans-serif")}) {
    const TMatch m = MatchFont(config, family, bold, italic);
    if (m.File.empty()) continue;
    if (FT_Face face = OpenFile(m.File, m.Index)) {
      info->Face = face;
      info->File = m.File;
      info->SynthBold = bold && m.Weight < FC_WEIGHT_DEMIBOLD;
      info->SynthItalic = italic && m.Slant == FC_SLANT_ROMAN;
      break;
    }
  }
  FFaces.push_back(std::move(info));
  return *FFaces.back();
}

std::string TFontCache::ResolveFile(const std::string& name, bool bold, bool italic) {
  return Face(name, bold, italic).File;
}

TSizedFont* TFontCache::Find(const TFont& font) {
  const int styles = font.Style() & (fsBold | fsItalic);
  int angle = NormalizeAngle(font.Orientation());
  if (angle % 900 == 0) angle = 0;  // right angles turn upright glyphs
  if (FLast && FLast->Matches(font.Name(), font.Height(), styles, angle)) return FLast->Valid() ? FLast : nullptr;
  for (const auto& s : FSized) {
    if (s->Matches(font.Name(), font.Height(), styles, angle)) {
      FLast = s.get();
      return s->Valid() ? FLast : nullptr;
    }
  }
  const TFaceInfo& face = Face(font.Name(), (styles & fsBold) != 0, (styles & fsItalic) != 0);
  if (FSized.size() >= kMaxSizedFonts) {
    FLast = nullptr;
    FSized.clear();
  }
  FSized.push_back(std::make_unique<TSizedFont>(FLibrary, face, font.Height(), angle));
  FLast = FSized.back().get();
  return FLast->Valid() ? FLast : nullptr;
}

}  // namespace varnel::text
