#pragma once

// The desktop's file associations: which desktop entry opens a MIME type (the mimeapps.list
// files in their lookup order), what that entry runs, and the user's own default.

#include <QString>
#include <QStringList>

namespace xdg {

// $XDG_CONFIG_HOME and $XDG_DATA_HOME (or their defaults below $HOME).
QString ConfigHome();
QString DataHome();

// The mimeapps.list files in the order the desktop consults them.
QStringList MimeAppsListFiles();
// The desktop id of the default application for mime: the first installed entry named in the
// first list that names one. Empty when there is none.
QString DefaultApplication(const QString &mime);
// The path of the installed desktop entry id, or empty.
QString FindDesktopFile(const QString &id);

// The Exec line of a desktop entry with its quoting undone, or empty.
QString ReadExecLine(const QString &desktopFile);
// One argument of an Exec line, quoted where the desktop entry format asks for it.
QString QuoteExecArgument(const QString &argument);

// Writes the application entry desktopFile, unless it already says this. False when the file
// cannot be written.
bool WriteDesktopEntry(const QString &desktopFile, const QString &name, const QString &exec,
                       const QString &icon, const QString &mime);
// Makes id the default for mime in the user's mimeapps.list; every other line stays as it was,
// and a list that says so already is not written.
bool SetDefaultApplication(const QString &mime, const QString &id);
// Starts the desktop's tool that refreshes its cache of the user's desktop entries, when the
// cache is older than one of them and the tool exists. Nobody waits for the tool. True when it
// was started.
bool UpdateDesktopDatabase();

} // namespace xdg
