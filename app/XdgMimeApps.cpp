#include "app/XdgMimeApps.h"

#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>

namespace xdg {

namespace {

const QString kDefaultGroup = QStringLiteral("[Default Applications]");
const QString kEntryGroup = QStringLiteral("[Desktop Entry]");

QString EnvOr(const char *name, const QString &fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

QString HomeFolder() {
    return EnvOr("HOME", QStringLiteral("/"));
}

QStringList SearchDirs(const char *name, const QString &fallback) {
    return EnvOr(name, fallback).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QStringList DesktopNames() {
    QStringList names;
    for (const QString &name :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        names.append(name.toLower());
    return names;
}

// The lists of one folder: the desktop-specific ones first, then the common one.
void AddListsOf(const QString &folder, QStringList &files) {
    for (const QString &desktop : DesktopNames())
        files.append(folder + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list"));
    files.append(folder + QStringLiteral("/mimeapps.list"));
}

QStringList ReadLines(const QString &path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd())
        lines.append(in.readLine());
    return lines;
}

// The value of key in group of a key file, or a null string.
QString ReadValue(const QStringList &lines, const QString &group, const QString &key) {
    bool bInGroup = false;
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            bInGroup = trimmed == group;
            continue;
        }
        const qsizetype nEqual = trimmed.indexOf(QLatin1Char('='));
        if (bInGroup && nEqual > 0 && trimmed.left(nEqual).trimmed() == key)
            return trimmed.mid(nEqual + 1).trimmed();
    }
    return {};
}

// Undoes the escapes of a key file's string value (\s \n \t \r \\).
QString UnescapeValue(const QString &value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else
            out += next;
    }
    return out;
}

// Undoes the quoting of an Exec line's arguments and joins them with blanks.
QString UnquoteExec(const QString &exec) {
    QString out;
    bool bQuoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == QLatin1Char('"')) {
            bQuoted = !bQuoted;
        } else if (bQuoted && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            out += exec[++i];
        } else if (c == QLatin1Char('%') && i + 1 < exec.size() &&
                   exec[i + 1] == QLatin1Char('%')) {
            out += exec[++i];
        } else {
            out += c;
        }
    }
    return out;
}

bool HoldsExactly(const QString &path, const QByteArray &content) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == content.size() &&
           file.readAll() == content;
}

// A file that already holds the lines is left alone, so that its time stamp and whatever
// watches it see no change.
bool WriteLines(const QString &path, const QStringList &lines) {
    const QByteArray content = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (HoldsExactly(path, content))
        return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    // Written aside and renamed, so a failure never leaves half a file behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}

// The desktop's cache of MIME types is out of date while a desktop entry is newer than it.
bool IsMimeCacheStale(const QString &folder) {
    const QFileInfo cache(folder + QStringLiteral("/mimeinfo.cache"));
    if (!cache.exists())
        return true;
    const QFileInfoList entries =
        QDir(folder).entryInfoList({QStringLiteral("*.desktop")}, QDir::Files);
    return std::any_of(entries.begin(), entries.end(), [&cache](const QFileInfo &entry) {
        return entry.lastModified() > cache.lastModified();
    });
}

} // namespace

QString ConfigHome() {
    return EnvOr("XDG_CONFIG_HOME", HomeFolder() + QStringLiteral("/.config"));
}

QString DataHome() {
    return QString::fromStdString(platform::AppDataFolder());
}

QStringList MimeAppsListFiles() {
    QStringList files;
    AddListsOf(ConfigHome(), files);
    for (const QString &dir : SearchDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")))
        AddListsOf(dir, files);
    AddListsOf(DataHome() + QStringLiteral("/applications"), files);
    for (const QString &dir :
         SearchDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")))
        AddListsOf(dir + QStringLiteral("/applications"), files);
    return files;
}

QString FindDesktopFile(const QString &id) {
    if (id.isEmpty() || id.contains(QLatin1Char('/')))
        return {};
    QStringList dirs{DataHome()};
    dirs += SearchDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString &dir : dirs) {
        const QString path = dir + QStringLiteral("/applications/") + id;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString DefaultApplication(const QString &mime) {
    for (const QString &list : MimeAppsListFiles()) {
        const QString value = ReadValue(ReadLines(list), kDefaultGroup, mime);
        for (const QString &id : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (!FindDesktopFile(id.trimmed()).isEmpty())
                return id.trimmed();
        }
    }
    return {};
}

QString ReadExecLine(const QString &desktopFile) {
    const QString exec = ReadValue(ReadLines(desktopFile), kEntryGroup, QStringLiteral("Exec"));
    return UnquoteExec(UnescapeValue(exec));
}

QString QuoteExecArgument(const QString &argument) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString arg = argument;
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    const bool bQuote =
        std::any_of(arg.begin(), arg.end(), [](QChar c) { return kReserved.contains(c); });
    if (bQuote) {
        QString quoted;
        for (const QChar c : arg) {
            if (QStringLiteral("\"`$\\").contains(c))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        arg = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    // The key file itself escapes each backslash once more.
    arg.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return arg;
}

bool WriteDesktopEntry(const QString &desktopFile, const QString &name, const QString &exec,
                       const QString &icon, const QString &mime) {
    return WriteLines(desktopFile, {
                                       kEntryGroup,
                                       QStringLiteral("Type=Application"),
                                       QStringLiteral("Name=") + name,
                                       QStringLiteral("Exec=") + exec,
                                       QStringLiteral("Icon=") + icon,
                                       QStringLiteral("MimeType=") + mime + QLatin1Char(';'),
                                       QStringLiteral("Terminal=false"),
                                       // A file type's entry, not a second launcher in menus.
                                       QStringLiteral("NoDisplay=true"),
                                   });
}

bool SetDefaultApplication(const QString &mime, const QString &id) {
    const QString path = ConfigHome() + QStringLiteral("/mimeapps.list");
    QStringList lines = ReadLines(path);
    const QString entry = mime + QLatin1Char('=') + id + QLatin1Char(';');
    qsizetype nGroup = -1;
    qsizetype nInsert = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (nGroup >= 0)
                break;
            if (trimmed == kDefaultGroup)
                nGroup = nInsert = i;
            continue;
        }
        if (nGroup < 0)
            continue;
        if (trimmed.section(QLatin1Char('='), 0, 0).trimmed() == mime) {
            lines[i] = entry;
            return WriteLines(path, lines);
        }
        if (!trimmed.isEmpty())
            nInsert = i;
    }
    if (nGroup < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(kDefaultGroup);
        nInsert = lines.size() - 1;
    }
    lines.insert(nInsert + 1, entry);
    return WriteLines(path, lines);
}

bool UpdateDesktopDatabase() {
    const QString folder = DataHome() + QStringLiteral("/applications");
    if (!IsMimeCacheStale(folder))
        return false;
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    return !tool.isEmpty() && QProcess::startDetached(tool, {folder});
}

} // namespace xdg
