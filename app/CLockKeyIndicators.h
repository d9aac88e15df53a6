#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

// The CAP, NUM and SCRL indicators of the status bar: each shows its text while its lock key is
// on and greys it out otherwise. The lock states come from the X keyboard extension; where the
// windowing system offers no way to read them the texts stay grey.
class CLockKeyIndicators : public QObject {
    Q_OBJECT

public:
    explicit CLockKeyIndicators(QStatusBar *pBar);
    void Update();

private:
    QLabel *m_pLabels[3];
};
