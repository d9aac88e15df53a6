#include "engine/CPdfEngine.h"

#include <SplashOutputDev.h>
#include <TextOutputDev.h>
#include <goo/gfile.h>

CPdfEngine::CPdfEngine() = default;

// Devices first: they may refer to the document's objects.
CPdfEngine::~CPdfEngine() {
    m_pTextDev.reset();
    m_pScreenDev.reset();
    CloseDocument();
}

void CPdfEngine::CloseDocument() {
    m_BookMarkArr.clear();
    m_PageWidths.clear();
    m_PageHeights.clear();
    m_PageBoxes.clear();
    // The screen device caches the document's fonts by object number: it goes with it.
    m_pScreenDev.reset();
    m_pDoc.reset();
    m_pOpenedFile.reset();
    m_OpenedFileStatus.reset();
    m_bOpen = false;
}

int CPdfEngine::AddWaterMark(std::unique_ptr<CWaterMark> mark) {
    if (!mark)
        return -1;
    std::lock_guard lock(m_Lock);
    for (int slot = 0; slot < kWaterMarkSlots; ++slot) {
        if (!m_WaterMarkArr[slot]) {
            m_WaterMarkArr[slot] = std::move(mark);
            return slot;
        }
    }
    return -1;
}
