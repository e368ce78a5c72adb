#pragma once

#include "widgets/PropertyBag.h"

#include <QString>

// The stored settings shared by every button of the program's windows: the gradient style
// with custom colours, blue caption, bold 8.25 point MS Sans Serif, focus rim on. Only the
// caption and the face colour differ between them. Keys are stored in lower case, as the
// window definitions hold them.
PropertyBag standardButtonProperties(const QString& caption, quint32 backColor = 0xE0E0E0);
