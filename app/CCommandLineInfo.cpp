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
    QString stripped = path.startsWith(QLatin1Char('"')) ? path.mid(1) : path;
    const qsizetype nLast = stripped.lastIndexOf(QLatin1Char('"'));
    if (nLast >= 0)
        stripped.truncate(nLast);
    return stripped;
}
