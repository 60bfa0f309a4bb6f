#pragma once

class QCoreApplication;

namespace didod {

// Loads Qt's own German texts (file dialogs, standard buttons, print and page
// dialogs) from the system's Qt translations, whatever the desktop's language.
// The messages of file and image input and output stay English, as the
// program's other platform messages are. Returns whether the texts were found.
bool LoadGermanQtTexts(QCoreApplication& application);

}  // namespace didod
