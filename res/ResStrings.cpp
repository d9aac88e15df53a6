#include "res/ResStrings.h"

#include "res/StringTable.h"

QString LoadResString(int nId) {
    const char *text = res::LoadString(nId);
    return text ? QString::fromUtf8(text) : QString();
}

QString CommandPrompt(int nId) {
    return LoadResString(nId).section(QLatin1Char('\n'), 0, 0);
}

QString CommandToolTip(int nId) {
    return LoadResString(nId).section(QLatin1Char('\n'), 1, 1);
}
