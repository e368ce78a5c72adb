// Mouse, keyboard, access key and hover of chameleonButton: the window's input turned into
// the control's events and drawings.
#include "chameleonButton.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcutEvent>

namespace {

constexpr short kLeft = 1, kRight = 2, kMiddle = 4;
constexpr short kSpace = 32;

short buttonNumber(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return kLeft;
    case Qt::RightButton:
        return kRight;
    case Qt::MiddleButton:
        return kMiddle;
    default:
        return 0;
    }
}

short buttonsHeld(Qt::MouseButtons b) {
    return short((b & Qt::LeftButton ? kLeft : 0) | (b & Qt::RightButton ? kRight : 0) |
                 (b & Qt::MiddleButton ? kMiddle : 0));
}

short shiftState(Qt::KeyboardModifiers m) {
    return short((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                 (m & Qt::AltModifier ? 4 : 0));
}

float twips(qreal pixels) {
    return float(pixels * kTwipsPerPixel);
}

// Qt's key to the virtual key number a key event carries; 0 for keys without one.
short virtualKey(const QKeyEvent* e) {
    const int k = e->key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z)) return short(k); // the same numbers
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return short(e->modifiers() & Qt::KeypadModifier ? 96 + (k - Qt::Key_0) : k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return short(112 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Meta:
        return 91;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_Asterisk:
        return e->modifiers() & Qt::KeypadModifier ? 106 : 0;
    case Qt::Key_Plus:
        return e->modifiers() & Qt::KeypadModifier ? 107 : 187;
    case Qt::Key_Minus:
        return e->modifiers() & Qt::KeypadModifier ? 109 : 189;
    case Qt::Key_Period:
        return e->modifiers() & Qt::KeypadModifier ? 110 : 190;
    case Qt::Key_Slash:
        return e->modifiers() & Qt::KeypadModifier ? 111 : 191;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    case Qt::Key_Semicolon:
        return 186;
    case Qt::Key_Equal:
        return 187;
    case Qt::Key_Comma:
        return 188;
    case Qt::Key_QuoteLeft:
        return 192;
    case Qt::Key_BracketLeft:
        return 219;
    case Qt::Key_Backslash:
        return 220;
    case Qt::Key_BracketRight:
        return 221;
    case Qt::Key_Apostrophe:
        return 222;
    default:
        return 0;
    }
}

} // namespace

// The control's own window is the one under the point (its shape counts: outside an oval
// is the container).
bool chameleonButton::IsMouseOver(const QPoint& globalPos) const {
    return QApplication::widgetAt(globalPos) == this;
}

void chameleonButton::pressHandling(short button, short shift, float x, float y) {
    emit MouseDown(button, shift, x, y);
    lastButton_ = button & 0xFF;
    if (button != kRight) DrawButton(2, false);
}

void chameleonButton::mousePressEvent(QMouseEvent* event) {
    pressedButton_ = event->button();
    afterDoubleClick_ = false;
    const QPointF p = event->position();
    pressHandling(buttonNumber(event->button()), shiftState(event->modifiers()), twips(p.x()), twips(p.y()));
}

// The second press of a double click comes as this event instead of a press. After a left
// click it is handled as a left press at (0, 0), and its release clicks nothing. The press
// holds the mouse (Qt's implicit grab), so the release reaches the control even outside.
// Where a press came first for the same click, only the release is marked.
void chameleonButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (pressedButton_ == Qt::NoButton) {
        if (lastButton_ != kLeft) return;
        pressedButton_ = event->button();
        pressHandling(kLeft, 0, 0.0f, 0.0f);
    } else if (lastButton_ != kLeft) {
        return;
    }
    afterDoubleClick_ = true;
}

void chameleonButton::mouseMoveEvent(QMouseEvent* event) {
    short b = buttonsHeld(event->buttons());
    short shift = shiftState(event->modifiers());
    float x = twips(event->position().x()), y = twips(event->position().y());
    emit MouseMove(b, shift, x, y);
    if (b != 0 && b != kLeft) return;
    if (IsMouseOver(event->globalPosition().toPoint())) {
        if (b == 0 && !isOver_) { // hover begins
            OverTimer.start();
            isOver_ = true;
            DrawButton(0, true);
            emit MouseOver();
        } else if (b == kLeft) { // dragged back in with the left button held: down again
            isOver_ = true;
            DrawButton(2, false);
            isOver_ = false;
        }
    } else { // dragged out while the left button holds the mouse: up
        DrawButton(0, false);
    }
}

void chameleonButton::mouseReleaseEvent(QMouseEvent* event) {
    short b = buttonNumber(event->button());
    short shift = shiftState(event->modifiers());
    float x = twips(event->position().x()), y = twips(event->position().y());
    emit MouseUp(b, shift, x, y);
    if (b != kRight) DrawButton(0, false);
    // The window's click notification: a press and its release both inside the control's
    // shape, except the release that ends a double click.
    const QPoint at = event->position().toPoint();
    const bool inside = rect().contains(at) && (buttonRegion_.isEmpty() || buttonRegion_.contains(at));
    const bool clicked = event->button() == pressedButton_ && !afterDoubleClick_ && inside;
    pressedButton_ = Qt::NoButton;
    afterDoubleClick_ = false;
    if (clicked) clickHandling();
}

void chameleonButton::clickHandling() {
    if (lastButton_ != kLeft || !enabled_) return;
    if (checkBoxBehaviour_) value_ = !value_;
    DrawButton(0, true);
    repaint();
    emit Click();
}

// Each tick while hovered: once the pointer is no longer over the control, hover ends.
void chameleonButton::OverTimer_Timer() {
    if (IsMouseOver(QCursor::pos())) return;
    OverTimer.stop();
    isOver_ = false;
    DrawButton(0, true);
    emit MouseOut();
}

void chameleonButton::focusInEvent(QFocusEvent*) {
    hasFocus_ = true;
    DrawButton(lastState_, true);
}

void chameleonButton::focusOutEvent(QFocusEvent*) {
    hasFocus_ = false;
    DrawButton(lastState_, true);
}

void chameleonButton::keyPressEvent(QKeyEvent* event) {
    short k = virtualKey(event);
    short shift = shiftState(event->modifiers());
    emit KeyDown(k, shift);
    lastKey_ = k & 0xFF;
    bool handled = true;
    switch (k) {
    case kSpace:
        DrawButton(2, false);
        break;
    case 37: // left and up: the previous control of the window
    case 38:
        focusNextPrevChild(false);
        break;
    case 39: // right and down: the next one
    case 40:
        focusNextPrevChild(true);
        break;
    default: // Enter and the rest are left to the container
        handled = false;
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty()) {
        short ascii = short(text.at(0).unicode());
        emit KeyPress(ascii);
    }
    if (!handled) event->ignore();
}

void chameleonButton::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its press only, as the reference platform does.
    if (event->isAutoRepeat()) return;
    short k = virtualKey(event);
    short shift = shiftState(event->modifiers());
    emit KeyUp(k, shift);
    if (lastKey_ != kSpace || k != kSpace) {
        event->ignore();
        return;
    }
    if (checkBoxBehaviour_) value_ = !value_;
    DrawButton(0, false);
    repaint();
    emit Click();
}

// The access key of the caption, pressed with Alt anywhere in the window, clicks.
void chameleonButton::updateAccessKeyShortcut() {
    if (accessShortcut_ != 0) releaseShortcut(accessShortcut_);
    accessShortcut_ = 0;
    if (accessKey_.isNull()) return;
    const QKeyCombination key(Qt::AltModifier, Qt::Key(accessKey_.toUpper().unicode()));
    accessShortcut_ = grabShortcut(QKeySequence(key));
}

bool chameleonButton::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == accessShortcut_ && accessShortcut_ != 0) {
        lastButton_ = kLeft;
        clickHandling();
        return true;
    }
    return QWidget::event(event);
}

// A change of the container's values (its colours reach the control as a palette
// change): the palette is recomputed unless the colours are the control's own.
void chameleonButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange && colorScheme_ != CustomColors) {
        SetColors();
        DrawButton(lastState_, true);
    }
    QWidget::changeEvent(event);
}
