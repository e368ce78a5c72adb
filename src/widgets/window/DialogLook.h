#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

// What the program's windows share: fonts given by face, points and weight, the blue and
// red of their texts, text and back colours, and centring on the screen.
namespace dialoglook {

inline const QColor kBlue(0, 0, 255);
inline const QColor kRed(255, 0, 0);

// A design font, drawn in the installed face for `face` (see installedFace).
QFont designFont(const QString& face, double points, bool bold);
void setTextColour(QWidget* w, const QColor& c);
void setBackColour(QWidget* w, const QColor& c);

// Centres the window on its screen for its outer size: the difference of the sizes is
// halved with the remainder dropped.
void centreOnScreen(QWidget* window);

} // namespace dialoglook
