#pragma once
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QString>

#include "output/paint_proc.h"

namespace didod {

// The entries of the picture dialog, numbered as the dialog reports them.
enum class PictureFormat {
  Bitmap = 1,    // BMP, 24 bits per pixel
  Bitmap16 = 2,  // BMP, 4 bits per pixel, standard 16-colour palette
  Jpeg = 3,
  Gif = 4,
  Png = 5,
  Metafile = 6,  // EMF data, whatever the name's extension
  Svg = 7,
  Pdf = 8,
};

// How the background of a vector picture is laid: the saved file gets a white
// outline just outside the picture, the clipboard a black one, the printed page none.
enum class MetafileUse { File, Clipboard, Print };

// Fills the picture area white (the rectangle from (-1, -1) to (W + 1, H + 1)) as
// the use asks, then leaves a black solid pen and a clear brush for the drawing.
void PrepareMetafileBackground(Canvas& canvas, int width, int height, MetafileUse use);

// Puts the centre of sheet pixel (x, y) at (x + 0.5, y + 0.5), so that a vector
// picture's one-pixel lines cover the pixels that the bitmap's lines cover.
void AlignToPixelCentres(QPainter& painter);

// A W x H picture in 32-bit RGB, white, with the drawing on it.
QImage RenderBitmap(int width, int height, const PaintProc& paint);

// The 16 colours of the standard palette: black, maroon, green, olive, navy,
// purple, teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white.
const QList<QRgb>& StandardPalette16();
// Maps every pixel to the nearest palette colour; an 8-bit indexed image with the 16-entry table.
QImage ConvertTo16Colours(const QImage& image);

// Encoders, each into the bytes of a whole file. They throw std::runtime_error
// with the encoder's message.
QByteArray EncodeBmp(const QImage& image);  // 4 bits for an indexed image of <= 16 colours, else 24 bits
QByteArray EncodeJpeg(const QImage& image, int quality, bool progressive);
QByteArray EncodeGif(const QImage& image);
QByteArray EncodePng(const QImage& image);

// Vector pictures of the drawing, W x H pixels, background as the use asks.
QByteArray MakeMetafile(int width, int height, const PaintProc& paint, MetafileUse use);
QByteArray MakeSvg(int width, int height, const PaintProc& paint, MetafileUse use);
QByteArray MakePdf(int width, int height, const PaintProc& paint, MetafileUse use);

// Writes the bytes as the file's whole content, or leaves the file as it was
// (WriteFileSafely). Throws "Cannot create file <name>" or "Stream write error".
void WriteFileReplacing(const QString& fileName, const QByteArray& bytes);

void SavePictureJpeg(const QImage& bitmap, const QString& fileName, int quality, bool progressive);
void SavePictureGif(const QImage& bitmap, const QString& fileName);
void SavePicturePng(const QImage& bitmap, const QString& fileName);

// Draws the picture afresh and writes it as the dialog entry asks.
void WritePicture(PictureFormat format, const QString& fileName, int width, int height, const PaintProc& paint);

}  // namespace didod
