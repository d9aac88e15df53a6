#pragma once

#include <QString>

// The association of a file extension with this program on the desktop. The check looks up the
// default application of the extension's MIME type and its Exec line: the extension is related
// when the executable's full path occurs in that line (letter case counts). The registration
// writes the program's own desktop entry and makes it the user's default; it never removes
// what another program owns.
class CRegRelateExt {
public:
    // Stores the executable's path and runs the check; read m_bRelated afterwards.
    CRegRelateExt(const QString &extension, const QString &exePath);
    virtual ~CRegRelateExt() = default;

    int IsRelated(const QString &extension);
    // True when the desktop entry and the default were both written.
    bool RelateExt(const QString &extension, const QString &exePath);

    // The desktop entry file that a registration writes.
    static QString DesktopEntryPath();

    int m_bRelated = 0;
    QString m_strProgID; // the default's desktop id after the check; ours after a registration
    QString m_strExePath;
};
