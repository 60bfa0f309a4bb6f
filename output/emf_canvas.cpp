#include "output/emf_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

extern "C" {
#include <uemf.h>
}

#if U_BYTE_SWAP
#error "the metafile header is patched in place, which needs a little-endian host"
#endif

namespace didod {

namespace {

// The reference screen: 1920 x 1440 pixels on 508 x 381 mm, exactly 96 pixels per inch.
constexpr int kRefPixelsX = 1920, kRefPixelsY = 1440;
constexpr int kRefMillimetresX = 508, kRefMillimetresY = 381;

U_COLORREF ColourRef(Colour c) { return colorref3_set(c.r, c.g, c.b); }

U_RECTL Bounds(int left, int top, int right, int bottom) {
  return rectl_set(point32_set(left, top), point32_set(right, bottom));
}

// Hundredths of a millimetre for a length in 96-dpi pixels.
int32_t Hundredths(int pixels) { return static_cast<int32_t>(std::lround(pixels * 2540.0 / 96.0)); }

std::vector<std::uint16_t> Utf16(const std::string& text) {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  std::vector<std::uint16_t> out(s.utf16(), s.utf16() + s.size());
  return out;
}

}  // namespace

struct EmfCanvas::Recording {
  EMFTRACK* track = nullptr;
  EMFHANDLES* handles = nullptr;
  ~Recording() {
    if (track) {
      std::free(track->buf);
      std::free(track);
    }
    if (handles) emf_htable_free(&handles);
  }
};

EmfCanvas::EmfCanvas(int width, int height) : rec_(std::make_unique<Recording>()) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  // libUEMF's emf_start insists on a file; the track is kept in memory instead and
  // the header fields that emf_finish would fill in are patched in Finish().
  rec_->track = static_cast<EMFTRACK*>(std::calloc(1, sizeof(EMFTRACK)));
  if (!rec_->track) throw std::bad_alloc();
  rec_->track->allocated = 64 * 1024;
  rec_->track->chunk = 64 * 1024;
  rec_->track->buf = static_cast<char*>(std::malloc(rec_->track->allocated));
  if (!rec_->track->buf || emf_htable_create(64, 64, &rec_->handles) != 0) throw std::bad_alloc();

  std::vector<std::uint16_t> description = Utf16("didod");
  description.push_back(0);
  for (std::uint16_t ch : Utf16("Netz")) description.push_back(ch);
  description.push_back(0);
  description.push_back(0);
  const U_RECTL bounds = Bounds(0, 0, width - 1, height - 1);
  const U_RECTL frame = Bounds(0, 0, Hundredths(width), Hundredths(height));
  Append(U_EMRHEADER_set(bounds, frame, nullptr, static_cast<U_CBSTR>(description.size()), description.data(),
                         sizel_set(kRefPixelsX, kRefPixelsY), sizel_set(kRefMillimetresX, kRefMillimetresY), 0));
  Append(U_EMRSETMAPMODE_set(U_MM_TEXT));
  Append(U_EMRSETBKMODE_set(U_TRANSPARENT));
  Append(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT));
  Append(U_EMRSETTEXTCOLOR_set(ColourRef(kBlack)));
  SelectNewPen();
  SelectNewBrush(false, kWhite);
}

EmfCanvas::~EmfCanvas() = default;

void EmfCanvas::Append(char* record) {
  if (!record) throw std::bad_alloc();
  if (finished_) {
    std::free(record);
    throw std::logic_error("metafile already finished");
  }
  const int rc = emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), rec_->track, 0);
  std::free(record);
  if (rc != 0) throw std::bad_alloc();
}

// Creates the new object, selects it, then deletes the one it replaces.
void EmfCanvas::ReplaceObject(std::uint32_t& current, char* createRecord, std::uint32_t handle) {
  Append(createRecord);
  Append(selectobject_set(handle, rec_->handles));
  if (current != 0) {
    std::uint32_t old = current;
    Append(deleteobject_set(&old, rec_->handles));
  }
  current = handle;
}

// A clear brush and an invisible pen are the stock objects: every reader knows
// those, while some ignore a created null brush and keep filling.
void EmfCanvas::SelectStock(std::uint32_t& current, std::uint32_t stock) {
  Append(U_EMRSELECTOBJECT_set(stock));
  if (current != 0) Append(deleteobject_set(&current, rec_->handles));
  current = 0;
}

void EmfCanvas::SelectNewPen() {
  if (penStyle_ == PenStyle::None) {
    SelectStock(pen_, U_NULL_PEN);
    return;
  }
  std::uint32_t handle = 0;
  const uint32_t style = penStyle_ == PenStyle::Dash      ? U_PS_DASH
                         : penStyle_ == PenStyle::DashDot ? U_PS_DASHDOT
                                                          : U_PS_SOLID;
  const U_LOGPEN pen = logpen_set(style, point32_set(1, 1), ColourRef(penColour_));
  char* record = createpen_set(&handle, rec_->handles, pen);
  ReplaceObject(pen_, record, handle);
}

void EmfCanvas::SelectNewBrush(bool solid, Colour colour) {
  brushSolid_ = solid;
  brushColour_ = colour;
  if (!solid) {
    SelectStock(brush_, U_NULL_BRUSH);
    return;
  }
  std::uint32_t handle = 0;
  char* record = createbrushindirect_set(&handle, rec_->handles, logbrush_set(U_BS_SOLID, ColourRef(colour), 0));
  ReplaceObject(brush_, record, handle);
}

void EmfCanvas::SetPenColour(Colour colour) {
  if (colour == penColour_) return;
  penColour_ = colour;
  SelectNewPen();
}

void EmfCanvas::SetPenStyle(PenStyle style) {
  if (style == penStyle_) return;
  penStyle_ = style;
  SelectNewPen();
}

void EmfCanvas::SetBrushSolid(Colour colour) {
  if (brushSolid_ && brushColour_ == colour) return;
  SelectNewBrush(true, colour);
}

void EmfCanvas::SetBrushClear() {
  if (!brushSolid_) return;
  SelectNewBrush(false, brushColour_);
}

void EmfCanvas::SetFont(const std::string& family, int points) {
  const int pixels = FontPixelHeight(points);
  if (font_ != 0 && family == fontFamily_ && pixels == fontPixels_) return;
  fontFamily_ = family;
  fontPixels_ = pixels;
  // LOGFONT holds at most 31 characters of the face name and a terminator.
  std::vector<std::uint16_t> face = Utf16(family);
  if (face.size() > 31) face.resize(31);
  face.push_back(0);
  // A negative height asks for the character height without internal leading, as a point size does.
  U_LOGFONT logfont = logfont_set(-pixels, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS,
                                  U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_VARIABLE_PITCH | U_FF_SWISS, face.data());
  std::uint32_t handle = 0;
  char* record = extcreatefontindirectw_set(&handle, rec_->handles, reinterpret_cast<const char*>(&logfont), nullptr);
  ReplaceObject(font_, record, handle);
}

void EmfCanvas::Polygon(const std::vector<PixelPoint>& corners) {
  if (corners.empty()) return;
  std::vector<U_POINTL> points;
  points.reserve(corners.size());
  int left = corners[0].x, right = left, top = corners[0].y, bottom = top;
  for (const PixelPoint& p : corners) {
    points.push_back(point32_set(p.x, p.y));
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  Append(U_EMRPOLYGON_set(Bounds(left, top, right, bottom), static_cast<uint32_t>(points.size()), points.data()));
}

void EmfCanvas::Ellipse(int left, int top, int right, int bottom) {
  Append(U_EMRELLIPSE_set(Bounds(left, top, right, bottom)));
}

void EmfCanvas::Rectangle(int left, int top, int right, int bottom) {
  Append(U_EMRRECTANGLE_set(Bounds(left, top, right, bottom)));
}

void EmfCanvas::TextOut(int x, int y, const std::string& text) {
  std::vector<std::uint16_t> utf16 = Utf16(text);
  if (utf16.empty()) return;
  // Character advances, so that a reader without the same face keeps the spacing.
  std::vector<std::uint32_t> dx(utf16.size(), static_cast<std::uint32_t>(std::max(1, fontPixels_ * 6 / 10)));
  int height = std::max(fontPixels_, 1);
  if (QGuiApplication::instance()) {
    QFont font(QString::fromStdString(fontFamily_));
    font.setPixelSize(std::max(fontPixels_, 1));
    const QFontMetrics metrics(font);
    for (std::size_t i = 0; i < utf16.size(); ++i)
      dx[i] = static_cast<std::uint32_t>(std::max(0, metrics.horizontalAdvance(QChar(utf16[i]))));
    height = metrics.height();
  }
  int width = 0;
  for (std::uint32_t d : dx) width += static_cast<int>(d);
  const U_RECTL bounds = Bounds(x, y, x + std::max(width, 1) - 1, y + height - 1);
  char* text_record = emrtext_set(point32_set(x, y), static_cast<U_NUM_STR>(utf16.size()), 2, utf16.data(),
                                  U_ETO_NONE, Bounds(0, 0, -1, -1), dx.data());
  if (!text_record) throw std::bad_alloc();
  char* record = U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, 1.0f, 1.0f, reinterpret_cast<PU_EMRTEXT>(text_record));
  std::free(text_record);
  Append(record);
}

std::vector<std::uint8_t> EmfCanvas::Finish() {
  if (finished_) throw std::logic_error("metafile already finished");
  // Leave the stock objects selected and release ours, as a tidy recording does.
  Append(U_EMRSELECTOBJECT_set(U_BLACK_PEN));
  Append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
  if (font_ != 0) Append(U_EMRSELECTOBJECT_set(U_DEVICE_DEFAULT_FONT));
  for (std::uint32_t* handle : {&pen_, &brush_, &font_}) {
    if (*handle != 0) Append(deleteobject_set(handle, rec_->handles));
  }
  Append(U_EMREOF_set(0, nullptr, rec_->track));
  finished_ = true;

  U_EMRHEADER header;
  std::memcpy(&header, rec_->track->buf, sizeof header);
  header.nBytes = static_cast<uint32_t>(rec_->track->used);
  header.nRecords = rec_->track->records;
  header.nHandles = static_cast<uint16_t>(rec_->handles->peak + 1);
  header.nPalEntries = rec_->track->PalEntries;
  std::memcpy(rec_->track->buf, &header, sizeof header);
  return std::vector<std::uint8_t>(rec_->track->buf, rec_->track->buf + rec_->track->used);
}

}  // namespace didod
