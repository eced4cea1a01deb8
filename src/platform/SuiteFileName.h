#pragma once

#include "taskgate_core_export.h"

#include <QString>

namespace tg {

// File names as the suite's tables store them. The tables were written on a
// disk that ignores letter case and separates folders with "\": a row may
// name "CLIENTI.DLL" for the file "Clienti.so" or "Foto\Magazzino.bmp" for
// "foto/magazzino.bmp". A name is taken as stored when a file has that name;
// otherwise its path is walked below the directory one component at a time,
// "\" and "/" both separating folders, each component matching the entry of
// the same name ignoring letter case (the exact spelling first, else the
// first in code-point order, so that the choice never depends on the order
// of a listing). The stored name costs no directory listing.
class TASKGATE_CORE_EXPORT SuiteFileName {
public:
    // The path of the existing file that `storedName` names below
    // `directory` (a directory ending with its separator, or empty for a
    // name that is absolute or relative to the current directory); empty
    // when no file matches.
    static QString find(const QString &directory, const QString &storedName);
    // find(), or `directory + storedName` when no file matches.
    static QString resolve(const QString &directory, const QString &storedName);
};

} // namespace tg
