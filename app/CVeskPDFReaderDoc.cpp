#include "app/CVeskPDFReaderDoc.h"

#include "app/CChildFrame.h"
#include "app/MessageBox.h"
#include "res/ResStrings.h"
#include "res/resource.h"
#include "view/CVeskPDFReaderView.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace {

constexpr qsizetype kTitleBytes = 20;
constexpr qsizetype kCutTitleBytes = 17;

qsizetype EncodedLength(QStringEncoder &encoder, QStringView text) {
    return QByteArray(encoder(text)).size();
}

QString FileErrorText(const QString &path) {
    const QFileInfo info(path);
    if (!info.exists())
        return LoadResString(AFX_IDP_FILE_NOT_FOUND).arg(path);
    if (!info.isReadable())
        return LoadResString(AFX_IDP_FILE_ACCESS_DENIED).arg(path);
    return LoadResString(AFX_IDP_FAILED_TO_OPEN_DOC);
}

} // namespace

// Lengths count bytes of the locale's encoding. A character that the 17-byte cut would split is
// left out whole, so the title never ends in half a character.
QString CVeskPDFReaderDoc::FixedWidthTitle(const QString &title) {
    QStringEncoder encoder(QStringEncoder::System);
    const qsizetype nBytes = EncodedLength(encoder, title);
    if (nBytes < kTitleBytes)
        return title + QString(kTitleBytes - nBytes, QLatin1Char(' '));
    QString cut;
    qsizetype nCutBytes = 0;
    for (qsizetype i = 0; i < title.size();) {
        const qsizetype nChar = title.at(i).isHighSurrogate() && i + 1 < title.size() ? 2 : 1;
        const QStringView character = QStringView(title).mid(i, nChar);
        const qsizetype nCharBytes = EncodedLength(encoder, character);
        if (nCutBytes + nCharBytes > kCutTitleBytes)
            break;
        cut += character;
        nCutBytes += nCharBytes;
        i += nChar;
    }
    return cut + QStringLiteral("...");
}

void CVeskPDFReaderDoc::SetTitle(const QString &title) {
    m_strTitle = FixedWidthTitle(title);
    m_Frame.setWindowTitle(m_strTitle);
}

void CVeskPDFReaderDoc::SetPathName(const QString &path) {
    m_strPathName = path;
    SetTitle(QFileInfo(path).fileName());
}

bool CVeskPDFReaderDoc::OpenFileForReading(const QString &path) const {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    AfxMessageBox(FileErrorText(path), QMessageBox::Ok, QMessageBox::Warning);
    return false;
}

bool CVeskPDFReaderDoc::OnOpenDocument(const QString &path) {
    if (!OpenFileForReading(path))
        return false;
    CVeskPDFReaderView *pView = m_Frame.GetActiveView();
    if (!pView || !m_Frame.m_pBookMark)
        return false;
    return pView->OpenPdfFile(path, &m_Frame.m_pBookMark->m_wndTree) == 0;
}
