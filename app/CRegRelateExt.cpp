#include "app/CRegRelateExt.h"

#include "app/XdgMimeApps.h"

#include <QFileInfo>

namespace {

const QString kProgID = QStringLiteral("VeskPDFReader.Document");
const QString kAppName = QStringLiteral("VeskPDFReader");
// The document icon stands beside the executable, as the program installs it.
const QString kDocumentIcon = QStringLiteral("/icons/VeskPDFReader.Document.svg");

// The types of the extensions the program opens. A table rather than the desktop's MIME
// database, which a system without shared-mime-info lacks.
struct SExtensionType {
    const char *pszExtension;
    const char *pszMime;
};
constexpr SExtensionType kTypes[] = {{".pdf", "application/pdf"}};

QString MimeTypeOf(const QString &extension) {
    for (const SExtensionType &type : kTypes) {
        if (extension.compare(QLatin1String(type.pszExtension), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(type.pszMime);
    }
    return {};
}

} // namespace

CRegRelateExt::CRegRelateExt(const QString &extension, const QString &exePath)
    : m_strExePath(exePath) {
    IsRelated(extension);
}

QString CRegRelateExt::DesktopEntryPath() {
    return xdg::DataHome() + QStringLiteral("/applications/") + kProgID +
           QStringLiteral(".desktop");
}

int CRegRelateExt::IsRelated(const QString &extension) {
    m_bRelated = 0;
    m_strProgID.clear();
    if (m_strExePath.isEmpty())
        return 0;
    const QString mime = MimeTypeOf(extension);
    if (!mime.isEmpty())
        m_strProgID = xdg::DefaultApplication(mime);
    const QString exec = xdg::ReadExecLine(xdg::FindDesktopFile(m_strProgID));
    m_bRelated = exec.contains(m_strExePath, Qt::CaseSensitive) ? 1 : 0;
    return m_bRelated;
}

bool CRegRelateExt::RelateExt(const QString &extension, const QString &exePath) {
    const QString mime = MimeTypeOf(extension);
    if (mime.isEmpty() || exePath.isEmpty())
        return false;
    m_strExePath = exePath;
    m_strProgID = kProgID;
    const QString exec = xdg::QuoteExecArgument(exePath) + QStringLiteral(" %f");
    const QString icon = QFileInfo(exePath).absolutePath() + kDocumentIcon;
    if (!xdg::WriteDesktopEntry(DesktopEntryPath(), kAppName, exec, icon, mime))
        return false;
    if (!xdg::SetDefaultApplication(mime, kProgID + QStringLiteral(".desktop")))
        return false;
    m_bRelated = 1;
    return true;
}
