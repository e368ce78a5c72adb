#pragma once

#include <QFont>
#include <QString>

// The face a control's text is drawn in: the named face where it is installed, else the
// first installed face among its substitutes (QFont::substitutes), else the name as given.
// The font engine, asked for a face that is not installed, sorts every installed font to
// find a fallback before it looks at the substitutes; naming the face it ends up in anyway
// spares that sort, and lets every control of one face and size share one loaded font.
// Answers are kept per face and substitutes for the life of the program. For the GUI thread.
QString installedFace(const QString& face);

// `font` with its face replaced by installedFace(font.family()).
QFont withInstalledFace(QFont font);
