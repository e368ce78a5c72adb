#pragma once

// Placing the main window's controls at their design rectangles (twips), with the names
// they carry and what assistive technology reads of them.
#include "widgets/Twips.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"

#include <QLabel>
#include <QString>

#include <initializer_list>

namespace controlplace {

// Places a control at its design rectangle and gives it its name, tooltip and the name
// assistive technology reads.
template <typename W>
W* place(W* w, const char* name, int left, int top, int width, int height, const QString& accessibleName,
         const QString& tooltip = QString()) {
    w->setObjectName(QLatin1String(name));
    w->setGeometry(twipsRect(left, top, width, height));
    w->setAccessibleName(accessibleName);
    if (!tooltip.isEmpty()) {
        w->setToolTip(tooltip);
        w->setAccessibleDescription(tooltip);
    }
    return w;
}

// A label that shows a value: assistive technology reads the value itself, its current
// text, as the label's name (each change of it is announced as a change of the name),
// and what the value is as its description.
inline QLabel* placeValueLabel(QLabel* l, const char* name, int left, int top, int width, int height,
                               const QString& what) {
    place(l, name, left, top, width, height, QString());
    l->setAccessibleDescription(what);
    return l;
}

struct ButtonPlace {
    chameleonButton** button;
    const char* name;
    const char* caption;
    const char* tooltip;
    int left, top, width, height;
};

// Every button is loaded from the same stored settings; caption and place differ.
inline void placeButtons(QWidget* parent, std::initializer_list<ButtonPlace> places) {
    for (const ButtonPlace& s : places) {
        const QString caption = QString::fromLatin1(s.caption);
        auto* b = new chameleonButton(parent);
        b->ReadProperties(standardButtonProperties(caption));
        *s.button =
            place(b, s.name, s.left, s.top, s.width, s.height, caption, QString::fromLatin1(s.tooltip));
    }
}

} // namespace controlplace
