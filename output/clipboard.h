#pragma once
#include <QImage>
#include <QMimeData>
#include <memory>

#include "output/paint_proc.h"

namespace didod {

// "Kopieren": puts the pixels that the sheet shows on the clipboard as an image.
void CopyBitmapToClipboard(const QImage& sheetPixels);

// The data of "Vektorgrafik kopieren": the EMF as image/emf and image/x-emf, an SVG
// as image/svg+xml and, for programs that take neither, the picture as an image.
// All carry the white background with its black outline just outside the picture.
std::unique_ptr<QMimeData> MakeMetafileMimeData(int width, int height, const PaintProc& paint);

// "Vektorgrafik kopieren": draws the picture afresh and puts it on the clipboard.
void CopyMetafileToClipboard(int width, int height, const PaintProc& paint);

}  // namespace didod
