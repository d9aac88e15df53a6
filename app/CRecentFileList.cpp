#include "app/CRecentFileList.h"

#include "app/CmdTarget.h"

#include <QDir>
#include <QSettings>

namespace {

const QString kSection = QStringLiteral("Recent File List");

QString EntryName(int nIndex) {
    return QStringLiteral("File%1").arg(nIndex + 1);
}

} // namespace

void CRecentFileList::ReadList() {
    QSettings settings;
    settings.beginGroup(kSection);
    m_Files.clear();
    for (int i = 0; i < m_nSize; ++i) {
        const QString path = settings.value(EntryName(i)).toString();
        if (!path.isEmpty())
            m_Files.append(path);
    }
}

void CRecentFileList::WriteList() const {
    QSettings settings;
    settings.beginGroup(kSection);
    for (int i = 0; i < m_nSize; ++i) {
        if (i < m_Files.size())
            settings.setValue(EntryName(i), m_Files.at(i));
        else
            settings.remove(EntryName(i));
    }
}

void CRecentFileList::Add(const QString &path) {
    m_Files.removeAll(path);
    m_Files.prepend(path);
    while (m_Files.size() > m_nSize)
        m_Files.removeLast();
    WriteList();
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= m_Files.size())
        return;
    m_Files.removeAt(nIndex);
    WriteList();
}

void CRecentFileList::UpdateMenu(int nIndex, CCmdUI *pUI) const {
    if (nIndex < m_Files.size()) {
        QString shown = QDir::toNativeSeparators(m_Files.at(nIndex));
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        pUI->SetText(QStringLiteral("&%1 %2").arg(nIndex + 1).arg(shown));
        pUI->Show(true);
        pUI->Enable(true);
        return;
    }
    pUI->Show(nIndex == 0);
    pUI->Enable(false);
}
