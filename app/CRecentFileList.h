#pragma once

#include <QString>
#include <QStringList>

class CCmdUI;

// The recent-file list: the most recently opened file first, stored in the settings section
// "Recent File List" as File1, File2, ... Every change is written at once.
class CRecentFileList {
public:
    explicit CRecentFileList(int nSize) : m_nSize(nSize) {}

    void ReadList();
    void Add(const QString &path);
    void Remove(int nIndex);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_Files.size()); }
    const QString &At(int nIndex) const { return m_Files.at(nIndex); }

    // The menu item of entry nIndex: "&1 path"; for the first item of an empty list the
    // disabled item of the menu table; the other items of an empty place are hidden.
    void UpdateMenu(int nIndex, CCmdUI *pUI) const;

private:
    void WriteList() const;

    int m_nSize;
    QStringList m_Files;
};
