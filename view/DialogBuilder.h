#pragma once

#include <QDialog>
#include <QString>

namespace view {

// Builds a dialog from its template in res/: caption, fixed size and controls at their
// places, each control named after its id so that code and tests find it by that id. OK
// accepts and Cancel rejects the dialog.
void BuildDialog(QDialog &dialog, int templateId);

template <typename T> T *DialogItem(const QDialog &dialog, int id) {
    return dialog.findChild<T *>(QString::number(id));
}

} // namespace view
