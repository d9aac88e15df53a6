#pragma once

#include "engine/PdfApi.h"
#include "tests/support/RecordingTree.h"
#include "tests/support/TestPaths.h"

namespace testsupport {

// An engine pointed at the test's rc/ directory, destroyed with the test.
class CEngineHandle {
public:
    CEngineHandle() : m_h(PdfCreate()) { PdfSetResourceDir(m_h, ResourceDir().c_str()); }
    ~CEngineHandle() { PdfDestroy(m_h); }
    CEngineHandle(const CEngineHandle &) = delete;
    CEngineHandle &operator=(const CEngineHandle &) = delete;

    int Open(const std::string &path, const char *password = nullptr) {
        m_Tree = CRecordingTree();
        return PdfOpen(m_h, path.c_str(), password, &m_Tree);
    }
    PDFHANDLE Get() const { return m_h; }
    operator PDFHANDLE() const { return m_h; }
    const CRecordingTree &Tree() const { return m_Tree; }

private:
    PDFHANDLE m_h;
    CRecordingTree m_Tree;
};

} // namespace testsupport
