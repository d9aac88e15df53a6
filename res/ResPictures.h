#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

#include <vector>

// Pictures of the resource file by id, drawn at the size their table gives.
QPixmap LoadBitmap(int nId);
// A bitmap whose pixels of colour mask are transparent.
QPixmap LoadMaskedBitmap(int nId, QRgb mask);
QIcon LoadIcon(int nId);
QCursor LoadCursor(int nId);
// The images of a toolbar strip, cut into square images of nSize pixels, left to right.
std::vector<QPixmap> SplitImageStrip(const QPixmap &strip, int nSize);
