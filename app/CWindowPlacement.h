#pragma once

#include <QObject>
#include <QRect>

class QSettings;
class QWidget;

// The normal (restored) rectangle of a top-level window that starts maximised. The window is
// mapped at the size it is maximised to, so a desktop would restore it to that size; the
// placement puts it at the stored rectangle when it first leaves the maximised state, follows
// it while the window is in its normal state, and writes it back at exit.
class CWindowPlacement : public QObject {
    Q_OBJECT

public:
    explicit CWindowPlacement(QWidget &window);

    // Reads the rectangle stored under key; one that no screen shows well, or none, gives the
    // default: three quarters of the primary screen, centred.
    void Load(const QSettings &settings, const QString &key);
    void Save(QSettings &settings, const QString &key) const;
    QRect NormalRect() const { return m_rcNormal; }

    static QRect DefaultRect();

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    static bool IsShownWell(const QRect &rect);
    void OnStateChange(Qt::WindowStates oldState);

    QWidget &m_Window;
    QRect m_rcNormal;
    // Until the first restore the window's own normal size is the maximised one.
    bool m_bRestorePending = true;
};
