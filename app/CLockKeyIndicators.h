#pragma once

#include <QObject>

#include <memory>

class CLockStateReader;
class QLabel;
class QStatusBar;

// The CAP, NUM and SCRL indicators of the status bar: each shows its text while its lock key is
// on and greys it out otherwise. On X11 the states come from the X keyboard extension. Where
// the windowing system tells a program nothing of the lock keys (Wayland has no request for
// them), the indicators stay grey for good and their tooltip says why; that is decided once,
// when they are made.
class CLockKeyIndicators : public QObject {
    Q_OBJECT

public:
    explicit CLockKeyIndicators(QStatusBar *pBar);
    ~CLockKeyIndicators() override;
    void Update();

private:
    QLabel *m_pLabels[3];
    std::unique_ptr<CLockStateReader> m_pReader; // null without a way to read the states
};
