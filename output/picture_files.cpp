#include "output/picture_files.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QFile>
#include <QSvgGenerator>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <stdexcept>
#include <unordered_map>
#include <vector>

extern "C" {
#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
}

#include "output/emf_canvas.h"
#include "persistence/safe_file.h"
#include "output/qpainter_canvas.h"

namespace didod {

namespace {

constexpr const char* kStreamWriteError = "Stream write error";

int AtLeastOne(int v) { return std::max(v, 1); }

void AppendLe16(QByteArray& out, unsigned v) {
  out.append(static_cast<char>(v & 0xFF));
  out.append(static_cast<char>((v >> 8) & 0xFF));
}

void AppendLe32(QByteArray& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

QImage ToRgb888(const QImage& image) { return image.convertToFormat(QImage::Format_RGB888); }

}  // namespace

void PrepareMetafileBackground(Canvas& canvas, int width, int height, MetafileUse use) {
  canvas.SetFont("Verdana", 10);
  canvas.SetBrushSolid(kWhite);
  switch (use) {
    case MetafileUse::File:
      canvas.SetPenColour(kWhite);
      canvas.Rectangle(-1, -1, width + 1, height + 1);
      canvas.SetPenColour(kBlack);
      break;
    case MetafileUse::Clipboard:
      canvas.Rectangle(-1, -1, width + 1, height + 1);
      break;
    case MetafileUse::Print:
      canvas.SetPenStyle(PenStyle::None);
      canvas.Rectangle(-1, -1, width + 1, height + 1);
      canvas.SetPenStyle(PenStyle::Solid);
      break;
  }
  canvas.SetBrushClear();
}

void AlignToPixelCentres(QPainter& painter) { painter.translate(0.5, 0.5); }

QImage RenderBitmap(int width, int height, const PaintProc& paint) {
  QImage image(AtLeastOne(width), AtLeastOne(height), QImage::Format_RGB32);
  if (image.isNull()) throw std::bad_alloc();
  image.fill(Qt::white);
  QPainter painter(&image);
  QPainterCanvas canvas(painter);
  paint(canvas);
  painter.end();
  return image;
}

const QList<QRgb>& StandardPalette16() {
  static const QList<QRgb> palette = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  return palette;
}

QImage ConvertTo16Colours(const QImage& source) {
  const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
  const QList<QRgb>& palette = StandardPalette16();
  QImage out(rgb.size(), QImage::Format_Indexed8);
  if (out.isNull() && !rgb.isNull()) throw std::bad_alloc();
  out.setColorTable(palette);
  std::unordered_map<QRgb, uchar> nearest;
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* line = out.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb colour = in[x] | 0xFF000000u;
      auto found = nearest.find(colour);
      if (found == nearest.end()) {
        int best = 0;
        long bestDistance = -1;
        for (int i = 0; i < palette.size(); ++i) {
          const long dr = qRed(colour) - qRed(palette[i]);
          const long dg = qGreen(colour) - qGreen(palette[i]);
          const long db = qBlue(colour) - qBlue(palette[i]);
          const long distance = dr * dr + dg * dg + db * db;
          if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
          }
        }
        found = nearest.emplace(colour, static_cast<uchar>(best)).first;
      }
      line[x] = found->second;
    }
  }
  return out;
}

QByteArray EncodeBmp(const QImage& image) {
  const bool fourBit = image.format() == QImage::Format_Indexed8 && image.colorCount() <= 16;
  const QImage rgb = fourBit ? image : ToRgb888(image);
  const std::uint64_t w = static_cast<std::uint64_t>(rgb.width());
  const std::uint64_t h = static_cast<std::uint64_t>(rgb.height());
  const std::uint64_t bits = fourBit ? 4 : 24;
  const std::uint64_t stride = ((w * bits + 31) / 32) * 4;
  const std::uint64_t paletteBytes = fourBit ? 16 * 4 : 0;
  const std::uint64_t offset = 14 + 40 + paletteBytes;
  const std::uint64_t fileSize = offset + stride * h;
  if (fileSize > 0x7FFFFFFFu) throw std::runtime_error(kStreamWriteError);

  QByteArray out;
  out.reserve(static_cast<qsizetype>(fileSize));
  out.append("BM", 2);
  AppendLe32(out, static_cast<std::uint32_t>(fileSize));
  AppendLe32(out, 0);
  AppendLe32(out, static_cast<std::uint32_t>(offset));
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<std::uint32_t>(w));
  AppendLe32(out, static_cast<std::uint32_t>(h));  // positive: rows run bottom-up
  AppendLe16(out, 1);
  AppendLe16(out, static_cast<unsigned>(bits));
  AppendLe32(out, 0);  // BI_RGB
  AppendLe32(out, static_cast<std::uint32_t>(stride * h));
  AppendLe32(out, 3780);  // 96 dpi in pixels per metre
  AppendLe32(out, 3780);
  AppendLe32(out, fourBit ? 16 : 0);
  AppendLe32(out, 0);
  if (fourBit) {
    for (int i = 0; i < 16; ++i) {
      const QRgb c = i < rgb.colorCount() ? rgb.color(i) : qRgb(0, 0, 0);
      out.append(static_cast<char>(qBlue(c)));
      out.append(static_cast<char>(qGreen(c)));
      out.append(static_cast<char>(qRed(c)));
      out.append('\0');
    }
  }
  std::vector<char> row(static_cast<std::size_t>(stride));
  for (std::uint64_t y = h; y-- > 0;) {
    std::fill(row.begin(), row.end(), '\0');
    const uchar* line = rgb.constScanLine(static_cast<int>(y));
    if (fourBit) {
      for (std::uint64_t x = 0; x < w; ++x) {
        const uchar index = line[x] & 0x0F;
        row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
      }
    } else {
      for (std::uint64_t x = 0; x < w; ++x) {
        row[3 * x] = static_cast<char>(line[3 * x + 2]);
        row[3 * x + 1] = static_cast<char>(line[3 * x + 1]);
        row[3 * x + 2] = static_cast<char>(line[3 * x]);
      }
    }
    out.append(row.data(), static_cast<qsizetype>(row.size()));
  }
  return out;
}

// ---- JPEG through libjpeg --------------------------------------------------

namespace {

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

extern "C" void JpegErrorExit(j_common_ptr cinfo) {
  JpegErrorManager* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  std::longjmp(manager->jump, 1);
}

extern "C" void JpegSilentMessage(j_common_ptr) {}

// Only plain data lives in this frame, so the jump back from libjpeg's error
// handler skips no destructor. Returns 0 or libjpeg's message code.
int EncodeJpegRaw(const unsigned char* const* rows, int width, int height, int quality, bool progressive,
                  unsigned char** outBuffer, unsigned long* outSize) {
  jpeg_compress_struct cinfo;
  JpegErrorManager errors;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JpegErrorExit;
  errors.base.output_message = JpegSilentMessage;
  if (setjmp(errors.jump)) {
    const int code = errors.base.msg_code;
    jpeg_destroy_compress(&cinfo);
    return code != 0 ? code : -1;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, outBuffer, outSize);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rows[cinfo.next_scanline]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return 0;
}

}  // namespace

QByteArray EncodeJpeg(const QImage& image, int quality, bool progressive) {
  const QImage rgb = ToRgb888(image);
  std::vector<const unsigned char*> rows(static_cast<std::size_t>(rgb.height()));
  for (int y = 0; y < rgb.height(); ++y) rows[static_cast<std::size_t>(y)] = rgb.constScanLine(y);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const int code = EncodeJpegRaw(rows.data(), rgb.width(), rgb.height(), std::clamp(quality, 0, 100), progressive,
                                 &buffer, &size);
  QByteArray out;
  if (code == 0 && buffer) out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  if (code != 0) {
    char message[64];
    std::snprintf(message, sizeof message, "JPEG error #%d", code);
    throw std::runtime_error(message);
  }
  return out;
}

// ---- GIF through giflib ----------------------------------------------------

namespace {

extern "C" int GifWriteToArray(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<QByteArray*>(gif->UserData);
  try {
    out->append(reinterpret_cast<const char*>(data), length);
  } catch (...) {
    return 0;
  }
  return length;
}

[[noreturn]] void ThrowGifError(int code) {
  const char* text = GifErrorString(code);
  throw std::runtime_error(text ? text : "GIF image encoding error");
}

}  // namespace

QByteArray EncodeGif(const QImage& image) {
  const QImage rgb = ToRgb888(image);
  const int w = rgb.width(), h = rgb.height();
  if (w < 1 || h < 1 || w > 65535 || h > 65535) throw std::runtime_error("GIF image encoding error");

  // A drawing rarely holds more than 256 colours; then the palette is exact and
  // only otherwise does giflib's quantiser reduce the colours.
  std::vector<GifByteType> indices(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  std::vector<GifColorType> colours;
  std::unordered_map<std::uint32_t, GifByteType> seen;
  bool exact = true;
  for (int y = 0; y < h && exact; ++y) {
    const uchar* line = rgb.constScanLine(y);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t key = (std::uint32_t{line[3 * x]} << 16) | (std::uint32_t{line[3 * x + 1]} << 8) | line[3 * x + 2];
      auto found = seen.find(key);
      if (found == seen.end()) {
        if (colours.size() == 256) {
          exact = false;
          break;
        }
        found = seen.emplace(key, static_cast<GifByteType>(colours.size())).first;
        colours.push_back({line[3 * x], line[3 * x + 1], line[3 * x + 2]});
      }
      indices[static_cast<std::size_t>(y) * w + x] = found->second;
    }
  }
  if (!exact) {
    std::vector<GifByteType> red(indices.size()), green(indices.size()), blue(indices.size());
    for (int y = 0; y < h; ++y) {
      const uchar* line = rgb.constScanLine(y);
      for (int x = 0; x < w; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        red[i] = line[3 * x];
        green[i] = line[3 * x + 1];
        blue[i] = line[3 * x + 2];
      }
    }
    int mapSize = 256;
    colours.assign(256, GifColorType{0, 0, 0});
    if (GifQuantizeBuffer(static_cast<unsigned>(w), static_cast<unsigned>(h), &mapSize, red.data(), green.data(),
                          blue.data(), indices.data(), colours.data()) != GIF_OK)
      throw std::runtime_error("GIF image encoding error");
    colours.resize(static_cast<std::size_t>(std::clamp(mapSize, 1, 256)));
  }
  // The colour table of a GIF holds a power of two entries, at least two.
  int tableSize = 2;
  while (tableSize < static_cast<int>(colours.size())) tableSize *= 2;
  colours.resize(static_cast<std::size_t>(tableSize), GifColorType{0, 0, 0});

  QByteArray out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, GifWriteToArray, &error);
  if (!gif) ThrowGifError(error);
  ColorMapObject* map = GifMakeMapObject(tableSize, colours.data());
  bool ok = map != nullptr;
  ok = ok && EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK;
  ok = ok && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
  for (int y = 0; ok && y < h; ++y)
    ok = EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * w, w) == GIF_OK;
  error = ok ? 0 : (gif->Error != 0 ? gif->Error : E_GIF_ERR_NOT_ENOUGH_MEM);
  GifFreeMapObject(map);
  int closeError = 0;
  if (EGifCloseFile(gif, &closeError) != GIF_OK && error == 0) error = closeError;
  if (error != 0) ThrowGifError(error);
  return out;
}

// ---- PNG through libpng ----------------------------------------------------

namespace {

struct PngSink {
  QByteArray* out;
  bool failed;
};

extern "C" void PngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
  try {
    sink->out->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
  } catch (...) {
    sink->failed = true;
    png_error(png, "out of memory");
  }
}

extern "C" void PngFlush(png_structp) {}

struct PngErrorState {
  char message[160];
};

extern "C" void PngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngErrorState*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message ? message : "PNG error");
  png_longjmp(png, 1);
}

extern "C" void PngWarning(png_structp, png_const_charp) {}

// Only plain data lives in this frame (see EncodeJpegRaw). Returns true on success.
bool EncodePngRaw(PngSink* sink, PngErrorState* errorState, png_bytepp rows, int width, int height, int colourType,
                  int bitDepth, const png_color* palette, int paletteSize) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, errorState, PngError, PngWarning);
  if (!png) {
    std::snprintf(errorState->message, sizeof errorState->message, "%s", "PNG error: cannot start the encoder");
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    std::snprintf(errorState->message, sizeof errorState->message, "%s", "PNG error: cannot start the encoder");
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, sink, PngWrite, PngFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitDepth, colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, paletteSize);
  png_set_rows(png, info, rows);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

QByteArray EncodePng(const QImage& image) {
  QImage source;
  int colourType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  std::vector<png_color> palette;
  std::vector<std::vector<png_byte>> packed;
  if (image.format() == QImage::Format_Indexed8 && image.colorCount() > 0 && image.colorCount() <= 256) {
    source = image;
    colourType = PNG_COLOR_TYPE_PALETTE;
    bitDepth = image.colorCount() <= 16 ? 4 : 8;
    for (int i = 0; i < image.colorCount(); ++i) {
      const QRgb c = image.color(i);
      palette.push_back({static_cast<png_byte>(qRed(c)), static_cast<png_byte>(qGreen(c)),
                         static_cast<png_byte>(qBlue(c))});
    }
  } else {
    source = ToRgb888(image);
  }
  const int w = source.width(), h = source.height();
  std::vector<png_bytep> rows(static_cast<std::size_t>(h));
  if (bitDepth == 4) {
    packed.assign(static_cast<std::size_t>(h), std::vector<png_byte>(static_cast<std::size_t>((w + 1) / 2), 0));
    for (int y = 0; y < h; ++y) {
      const uchar* line = source.constScanLine(y);
      auto& row = packed[static_cast<std::size_t>(y)];
      for (int x = 0; x < w; ++x) {
        // Indices beyond the table would make a broken file; they fall back to entry 0.
        const uchar index = line[x] < palette.size() ? line[x] : 0;
        row[static_cast<std::size_t>(x / 2)] |= static_cast<png_byte>(x % 2 == 0 ? index << 4 : index);
      }
      rows[static_cast<std::size_t>(y)] = row.data();
    }
  } else {
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
      // Make sure that no index points past the palette.
      source.detach();
      for (int y = 0; y < h; ++y) {
        uchar* line = source.scanLine(y);
        for (int x = 0; x < w; ++x)
          if (line[x] >= palette.size()) line[x] = 0;
      }
    }
    for (int y = 0; y < h; ++y) rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(source.constScanLine(y));
  }
  QByteArray out;
  PngSink sink{&out, false};
  PngErrorState errorState{};
  if (!EncodePngRaw(&sink, &errorState, rows.data(), w, h, colourType, bitDepth, palette.data(),
                    static_cast<int>(palette.size())))
    throw std::runtime_error(errorState.message[0] ? errorState.message : "PNG error");
  return out;
}

// ---- Vector pictures -------------------------------------------------------

QByteArray MakeMetafile(int width, int height, const PaintProc& paint, MetafileUse use) {
  width = AtLeastOne(width);
  height = AtLeastOne(height);
  EmfCanvas canvas(width, height);
  PrepareMetafileBackground(canvas, width, height, use);
  paint(canvas);
  const std::vector<std::uint8_t> bytes = canvas.Finish();
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QByteArray MakeSvg(int width, int height, const PaintProc& paint, MetafileUse use) {
  width = AtLeastOne(width);
  height = AtLeastOne(height);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setResolution(96);
  generator.setTitle(QStringLiteral("Netz"));
  QPainter painter;
  if (!painter.begin(&generator)) throw std::runtime_error(kStreamWriteError);
  AlignToPixelCentres(painter);
  QPainterCanvas canvas(painter);
  PrepareMetafileBackground(canvas, width, height, use);
  paint(canvas);
  painter.end();
  return bytes;
}

QByteArray MakePdf(int width, int height, const PaintProc& paint, MetafileUse use) {
  width = AtLeastOne(width);
  height = AtLeastOne(height);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(96);
    writer.setCreator(QStringLiteral("didod"));
    writer.setTitle(QStringLiteral("Netz"));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(QSizeF(width * 72.0 / 96.0, height * 72.0 / 96.0), QPageSize::Point, QString(),
                                 QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer)) throw std::runtime_error(kStreamWriteError);
    AlignToPixelCentres(painter);
    QPainterCanvas canvas(painter);
    PrepareMetafileBackground(canvas, width, height, use);
    paint(canvas);
    if (!painter.end()) throw std::runtime_error(kStreamWriteError);
  }
  return bytes;
}

// ---- Files -----------------------------------------------------------------

void WriteFileReplacing(const QString& fileName, const QByteArray& bytes) {
  WriteFileSafely(QFile::encodeName(fileName).toStdString(),
                  std::span(reinterpret_cast<const unsigned char*>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size())));
}

void SavePictureJpeg(const QImage& bitmap, const QString& fileName, int quality, bool progressive) {
  WriteFileReplacing(fileName, EncodeJpeg(bitmap, quality, progressive));
}

void SavePictureGif(const QImage& bitmap, const QString& fileName) { WriteFileReplacing(fileName, EncodeGif(bitmap)); }

void SavePicturePng(const QImage& bitmap, const QString& fileName) { WriteFileReplacing(fileName, EncodePng(bitmap)); }

void WritePicture(PictureFormat format, const QString& fileName, int width, int height, const PaintProc& paint) {
  switch (format) {
    case PictureFormat::Metafile:
      WriteFileReplacing(fileName, MakeMetafile(width, height, paint, MetafileUse::File));
      return;
    case PictureFormat::Svg:
      WriteFileReplacing(fileName, MakeSvg(width, height, paint, MetafileUse::File));
      return;
    case PictureFormat::Pdf:
      WriteFileReplacing(fileName, MakePdf(width, height, paint, MetafileUse::File));
      return;
    default:
      break;
  }
  QImage bitmap = RenderBitmap(width, height, paint);
  switch (format) {
    case PictureFormat::Bitmap:
      WriteFileReplacing(fileName, EncodeBmp(bitmap));
      break;
    case PictureFormat::Bitmap16:
      WriteFileReplacing(fileName, EncodeBmp(ConvertTo16Colours(bitmap)));
      break;
    case PictureFormat::Jpeg:
      SavePictureJpeg(bitmap, fileName, 100, false);
      break;
    case PictureFormat::Gif:
      SavePictureGif(bitmap, fileName);
      break;
    case PictureFormat::Png:
      SavePicturePng(bitmap, fileName);
      break;
    default:
      throw std::invalid_argument("unknown picture format");
  }
}

}  // namespace didod
