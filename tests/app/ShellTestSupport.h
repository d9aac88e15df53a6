#pragma once

// Starting the application in a test, and fixture files under names a test chooses.

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CVeskPDFReaderApp.h"
#include "tests/support/TestPaths.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

namespace apptest {

// A started application; the test fails when start-up does not succeed.
std::unique_ptr<CVeskPDFReaderApp> StartApp(const QStringList &arguments = {});
// Copies fixture name to dir/as (folders made as needed) and answers the new path.
QString CopyFixture(const std::string &name, const testsupport::CTempDir &dir,
                    const std::string &as);
// Runs deferred deletions, so windows that were closed are gone.
void FlushDeletes();
// Runs command nID as a menu item or toolbar button would: through its action, which must be
// enabled.
void RunCommand(CVeskPDFReaderApp &app, int nID);
// Whether the update handlers give command nID a check or radio mark.
bool IsChecked(const CVeskPDFReaderApp &app, int nID);

} // namespace apptest
