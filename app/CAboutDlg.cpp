#include "app/CAboutDlg.h"

#include "res/ResPictures.h"
#include "res/ResStrings.h"
#include "res/resource.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kFontPoints = 9;
constexpr const char *kOkText = "确定";

struct SPlace {
    int x, y, cx, cy;
};

constexpr SPlace kDialog{0, 0, 170, 62};
constexpr SPlace kIcon{14, 14, 21, 20};
constexpr SPlace kVersion{42, 14, 114, 8};
constexpr SPlace kCopyright{42, 26, 114, 8};
constexpr SPlace kOk{113, 41, 50, 14};

// Dialog units: a quarter of the font's average character width across, an eighth of its
// height down.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont &font) {
        const QFontMetrics metrics(font);
        static const QString kAlphabet =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        m_nBaseX = (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
        m_nBaseY = metrics.height();
    }
    QRect ToPixels(const SPlace &place) const {
        return QRect(place.x * m_nBaseX / 4, place.y * m_nBaseY / 8, place.cx * m_nBaseX / 4,
                     place.cy * m_nBaseY / 8);
    }

private:
    int m_nBaseX;
    int m_nBaseY;
};

} // namespace

CAboutDlg::CAboutDlg(QWidget *pParent) : QDialog(pParent) {
    setObjectName(QString::number(IDD_ABOUTBOX));
    setWindowTitle(LoadResString(IDS_ABOUT_CAPTION));
    QFont dialogFont = font();
    dialogFont.setPointSize(kFontPoints);
    setFont(dialogFont);
    const CDialogUnits units(dialogFont);
    setFixedSize(units.ToPixels(kDialog).size());

    auto *pIcon = new QLabel(this);
    const QRect iconRect = units.ToPixels(kIcon);
    pIcon->setPixmap(LoadIcon(IDR_MAINFRAME).pixmap(qMin(iconRect.width(), iconRect.height())));
    pIcon->setGeometry(iconRect);

    auto *pVersion = new QLabel(LoadResString(IDS_ABOUT_VERSION), this);
    pVersion->setTextFormat(Qt::PlainText);
    pVersion->setGeometry(units.ToPixels(kVersion));
    auto *pCopyright = new QLabel(LoadResString(IDS_ABOUT_COPYRIGHT), this);
    pCopyright->setGeometry(units.ToPixels(kCopyright));

    auto *pOk = new QPushButton(QString::fromUtf8(kOkText), this);
    pOk->setObjectName(QString::number(IDOK));
    pOk->setDefault(true);
    pOk->setGeometry(units.ToPixels(kOk));
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
}
