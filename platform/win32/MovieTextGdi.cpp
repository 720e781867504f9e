#include "platform/win32/MovieTextGdi.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/win32/Dib.h"

namespace corvane::win32 {

namespace {

// Enough for every text of a movie at a few scales; past it the cache starts
// afresh rather than growing without end.
constexpr std::size_t kMaxCachedTexts = 1024;
constexpr std::size_t kMaxCachedFonts = 64;
constexpr std::size_t kMaxCachedBytes = 16u << 20;

int CALLBACK FaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

std::string Trim(const std::string& text) {
  std::size_t a = text.find_first_not_of(' ');
  std::size_t b = text.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : text.substr(a, b - a + 1);
}

}  // namespace

GdiTextRasterizer::GdiTextRasterizer() : dc_(::CreateCompatibleDC(nullptr)) {}

std::string GdiTextRasterizer::ChooseFace(const std::string& faces) {
  ScopedGetDc screen(nullptr);
  std::string last;
  std::size_t start = 0;
  while (start <= faces.size()) {
    std::size_t comma = faces.find(',', start);
    std::string face = Trim(faces.substr(start, comma == std::string::npos ? std::string::npos
                                                                           : comma - start));
    if (!face.empty() && face.size() < LF_FACESIZE) {
      last = face;
      LOGFONTA query{};
      query.lfCharSet = DEFAULT_CHARSET;
      std::memcpy(query.lfFaceName, face.c_str(), face.size() + 1);
      bool found = false;
      if (screen.get() != nullptr) {
        ::EnumFontFamiliesExA(screen.get(), &query, &FaceFound, reinterpret_cast<LPARAM>(&found), 0);
      }
      if (found) return face;
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return last;
}

HFONT GdiTextRasterizer::FontFor(const movie::FontSpec& font, int height) {
  std::string key = font.faces + "|" + std::to_string(height) + "|" + std::to_string(font.weight);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  auto face = faces_.find(font.faces);
  if (face == faces_.end()) face = faces_.emplace(font.faces, ChooseFace(font.faces)).first;
  if (fonts_.size() >= kMaxCachedFonts) {
    masks_.clear();  // masks do not hold fonts, but start both afresh together
    cachedBytes_ = 0;
    fonts_.clear();
  }
  HFONT created = ::CreateFontA(-height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, face->second.c_str());
  auto& slot = fonts_[key];
  slot.reset(created);
  return created;
}

const movie::TextMask& GdiTextRasterizer::Render(const movie::FontSpec& font, float pixelSize,
                                                 const std::string& text) {
  int height = std::clamp(static_cast<int>(std::lround(pixelSize)), 1, 400);
  std::string key = font.faces + "|" + std::to_string(height) + "|" + std::to_string(font.weight) +
                    "|" + text;
  auto cached = masks_.find(key);
  if (cached != masks_.end()) return cached->second;
  if (!dc_ || text.empty()) return empty_;
  HFONT hfont = FontFor(font, height);
  if (hfont == nullptr) return empty_;
  if (masks_.size() >= kMaxCachedTexts || cachedBytes_ > kMaxCachedBytes) {
    masks_.clear();
    cachedBytes_ = 0;
  }

  ScopedSelect selectFont(dc_.get(), hfont);
  SIZE extent{};
  if (!::GetTextExtentPoint32A(dc_.get(), text.c_str(), static_cast<int>(text.size()), &extent)) {
    return empty_;
  }
  // Two pixels on the right for the anti-aliased fringe and overhangs; the
  // ink starts at the mask's left edge, where the renderer places the text.
  int width = std::clamp(static_cast<int>(extent.cx) + 2, 1, 4096);
  int rows = std::clamp(static_cast<int>(extent.cy), 1, 1024);

  void* bits = nullptr;
  UniqueHbitmap bitmap = CreateTopDownDib(dc_.get(), width, rows, bits);
  if (!bitmap) return empty_;
  std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
  std::memset(bits, 0, pixels * 4);
  {
    ScopedSelect selectBitmap(dc_.get(), bitmap.get());
    (void)::SetBkMode(dc_.get(), TRANSPARENT);
    (void)::SetTextColor(dc_.get(), RGB(255, 255, 255));
    (void)::SetTextAlign(dc_.get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
    (void)::TextOutA(dc_.get(), 0, 0, text.c_str(), static_cast<int>(text.size()));
    (void)::GdiFlush();
  }
  movie::TextMask mask;
  mask.width = width;
  mask.height = rows;
  mask.coverage.resize(pixels);
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < pixels; ++i) {
    // Green carries the grey level; with sub-pixel smoothing the channels
    // differ slightly and green is the middle one.
    mask.coverage[i] = static_cast<std::uint8_t>((source[i] >> 8) & 0xFF);
  }
  cachedBytes_ += mask.coverage.size();
  return masks_.emplace(key, std::move(mask)).first->second;
}

}  // namespace corvane::win32
