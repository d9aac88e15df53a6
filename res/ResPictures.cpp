#include "res/ResPictures.h"

#include "res/PictureTable.h"

#include <QBitmap>
#include <QImage>
#include <QImageReader>

// The pictures are compiled into a static library, which keeps them only when something refers
// to their initialiser.
static void InitPictures() {
    static const bool bDone = [] {
        Q_INIT_RESOURCE(VeskPDFReader);
        return true;
    }();
    (void)bDone;
}

QPixmap LoadBitmap(int nId) {
    InitPictures();
    const res::SPicture *picture = res::LoadPicture(nId);
    if (!picture)
        return {};
    QImageReader reader(QString::fromUtf8(picture->pszPath));
    reader.setScaledSize(QSize(picture->nWidth, picture->nHeight));
    return QPixmap::fromImage(reader.read());
}

QPixmap LoadMaskedBitmap(int nId, QRgb mask) {
    QPixmap pixmap = LoadBitmap(nId);
    if (!pixmap.isNull())
        pixmap.setMask(pixmap.createMaskFromColor(QColor(mask), Qt::MaskInColor));
    return pixmap;
}

QIcon LoadIcon(int nId) {
    InitPictures();
    const res::SPicture *picture = res::LoadPicture(nId);
    // Scalable pictures: the icon engine draws them at every size asked for.
    return picture ? QIcon(QString::fromUtf8(picture->pszPath)) : QIcon();
}

// Cursors are black and white: the drawing's smoothed edges fall to one side or the other.
static QPixmap Monochrome(const QPixmap &pixmap) {
    constexpr int kHalf = 128;
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) < kHalf)
                row[x] = qRgba(0, 0, 0, 0);
            else
                row[x] = qGray(row[x]) < kHalf ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
    return QPixmap::fromImage(image);
}

QCursor LoadCursor(int nId) {
    const res::SCursor *cursor = res::LoadCursorInfo(nId);
    const QPixmap pixmap = LoadBitmap(nId);
    if (!cursor || pixmap.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(Monochrome(pixmap), cursor->nHotX, cursor->nHotY);
}

std::vector<QPixmap> SplitImageStrip(const QPixmap &strip, int nSize) {
    std::vector<QPixmap> images;
    for (int x = 0; x + nSize <= strip.width(); x += nSize)
        images.push_back(strip.copy(x, 0, nSize, nSize));
    return images;
}
