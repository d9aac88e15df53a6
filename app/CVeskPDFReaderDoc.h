#pragma once

#include <QString>

class CChildFrame;

// The document of a document window. It holds no PDF data: its open hands the file to the
// reading view's engine, which fills the window's bookmark tree.
class CVeskPDFReaderDoc {
public:
    explicit CVeskPDFReaderDoc(CChildFrame &frame) : m_Frame(frame) {}

    // Opens path into the view of the document window. A file that cannot be read is reported
    // to the user; a file the engine refuses is not. False when the document is not open.
    bool OnOpenDocument(const QString &path);
    // Sets the path after a successful open; the title becomes the file's name.
    void SetPathName(const QString &path);
    const QString &GetPathName() const { return m_strPathName; }

    // Titles have a fixed width, so every tab is equally wide.
    void SetTitle(const QString &title);
    const QString &GetTitle() const { return m_strTitle; }
    static QString FixedWidthTitle(const QString &title);

private:
    bool OpenFileForReading(const QString &path) const;

    CChildFrame &m_Frame;
    QString m_strPathName;
    QString m_strTitle;
};
