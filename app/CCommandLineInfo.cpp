#include "app/CCommandLineInfo.h"

CCommandLineInfo::CCommandLineInfo(const QStringList &arguments)
    : m_strRawCommandLine(arguments.join(QLatin1Char(' '))) {
    for (const QString &argument : arguments) {
        if (argument.startsWith(QLatin1Char('-')) || !m_strFileName.isEmpty())
            continue;
        m_strFileName = argument;
        m_nShellCommand = FileOpen;
    }
}

QString StripPathQuotes(const QString &path) {
    if (!path.startsWith(QLatin1Char('"')))
        return path;
    QString stripped = path.mid(1);
    const qsizetype nLast = stripped.lastIndexOf(QLatin1Char('"'));
    if (nLast >= 0)
        stripped.truncate(nLast);
    return stripped;
}
