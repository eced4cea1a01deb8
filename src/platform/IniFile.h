#pragma once

#include "taskgate_core_export.h"

#include <QString>

namespace tg {

// A file in the profile layout ([section], key=value lines). Section and key
// names match without regard to case; a missing file, section or key reads as
// the empty text; a write creates the file and the section when needed.
// Contents are in the suite's code page.
class TASKGATE_CORE_EXPORT IniFile {
public:
    explicit IniFile(QString path);

    QString readString(const QString &section, const QString &key) const;
    // Returns false when the file cannot be written.
    bool writeString(const QString &section, const QString &key, const QString &value);

    const QString &path() const { return m_path; }

private:
    QString m_path;
};

} // namespace tg
