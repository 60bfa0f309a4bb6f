#pragma once
#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <memory>

#include "output/paint_proc.h"
#include "output/picture_files.h"

namespace didod {

// The picture dialog's filter as label and pattern alternating, separated by "|".
inline constexpr const char* kPictureFilter =
    "Abbildung (*.bmp)|*.bmp|Abbildung,16 Farben (*.bmp)|*.bmp|Abbildung (*.jpg)|*.jpg|"
    "GIF-Abbildung (*.gif)|*.GIF|PNG-Grafik (*.png)|*.png|Vektorgrafik (*.wmf)|*.wmf|"
    "SVG-Grafik (*.svg)|*.svg|PDF-Dokument (*.pdf)|*.pdf";

// The filter in the dialog's own form, one "label (pattern)" per entry; the
// dialog shows only the labels.
QStringList PictureNameFilters();

// The picture dialog, set up and not yet shown: title "Abbildung speichern", the
// GIF entry chosen, empty name, starting in the folder of the last picture saved
// during this run, else in the user's pictures folder (the home folder where
// there is none), asking before it replaces a file.
std::unique_ptr<QFileDialog> MakePictureDialog(QWidget* parent);

// The entry (1 to 8) of a name filter or label that the dialog reports, 0 when unknown.
int PictureEntryOf(const QString& nameFilter);

// "Speichern" of the menu "Darstellung": asks for a name and format, then draws
// the picture afresh at W x H and writes it. Cancelling changes nothing.
// Failures throw std::runtime_error with the message for the error display.
void SavePicture(int width, int height, const PaintProc& paint, QWidget* parent);

}  // namespace didod
