#pragma once

#include <QRect>
#include <QRegion>

// The window shape of a button of the given type and size: the full rectangle with some
// corner pixels removed, or the inscribed ellipse for the oval type.
QRegion buttonRegion(int buttonType, int width, int height);

// The rectangle of the dotted focus frame for a button of the given type and size.
QRect buttonFocusRect(int buttonType, int width, int height);
