#include "app/AcceleratorKeys.h"

namespace {

QKeyCombination VirtualKeyToQt(std::uint16_t key) {
    // Letters and digits: virtual-key codes are their ASCII codes, as are Qt's key codes.
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return QKeyCombination(static_cast<Qt::Key>(key));
    switch (key) {
    case res::VK_END:
        return Qt::Key_End;
    case res::VK_HOME:
        return Qt::Key_Home;
    case res::VK_LEFT:
        return Qt::Key_Left;
    case res::VK_RIGHT:
        return Qt::Key_Right;
    case res::VK_ADD:
        return Qt::KeypadModifier | Qt::Key_Plus;
    case res::VK_SUBTRACT:
        return Qt::KeypadModifier | Qt::Key_Minus;
    case res::VK_F12:
        return Qt::Key_F12;
    default:
        return Qt::Key_unknown;
    }
}

} // namespace

QList<QKeySequence> AcceleratorKeySequences(const res::SAccel &accel) {
    const QKeyCombination key = VirtualKeyToQt(accel.key);
    Qt::KeyboardModifiers modifiers = key.keyboardModifiers();
    if (accel.fVirt & res::FCONTROL)
        modifiers |= Qt::ControlModifier;
    if (accel.fVirt & res::FSHIFT)
        modifiers |= Qt::ShiftModifier;
    if (accel.fVirt & res::FALT)
        modifiers |= Qt::AltModifier;
    QList<QKeySequence> sequences{QKeySequence(QKeyCombination(modifiers, key.key()))};
    if (modifiers & Qt::KeypadModifier)
        sequences.append(QKeySequence(QKeyCombination(modifiers & ~Qt::KeypadModifier, key.key())));
    return sequences;
}
