#pragma once
#include <QString>

namespace didod {

// The folder a kind of file dialog ("picture", "craft", ...) was last used in
// during this run, or `fallback` when it has not been used yet. Nothing is
// stored between runs.
QString RecentFolder(const QString& dialog, const QString& fallback);

// Notes the folder of a file chosen in that kind of dialog.
void RememberFolder(const QString& dialog, const QString& chosenFile);

}  // namespace didod
