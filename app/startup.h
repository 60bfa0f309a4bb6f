#pragma once
#include <QStringList>

namespace didod {

class Tfpoly;

// The command line after Qt has taken its own options: the program's name and
// at most one construction file, which is loaded as the load command loads it
// (a bad file is shown by the general error display). Further arguments are
// ignored. Returns whether a file was given.
bool OpenStartupFile(Tfpoly& window, const QStringList& arguments);

}  // namespace didod
