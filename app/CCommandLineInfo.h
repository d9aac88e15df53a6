#pragma once

#include <QString>
#include <QStringList>

// The command line as the program reads it: the first argument that is no option (options
// start with '-') names the file to open.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    explicit CCommandLineInfo(const QStringList &arguments);

    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName;
    // The arguments joined by blanks, as the command line read whole.
    QString m_strRawCommandLine;
};

// The command line read whole, as a shell may have quoted it: when it starts with a double
// quote, that quote is dropped and so is everything from the last double quote on. A line
// that does not start with one is a path as it stands (a Linux name may contain '"').
QString StripPathQuotes(const QString &path);
