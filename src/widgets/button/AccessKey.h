#pragma once

#include <QChar>
#include <QString>

// A caption marks its access key with one "&"; "&&" stands for a literal ampersand.

// The access key of a caption in lower case, or a null QChar when it has none.
QChar accessKeyOf(const QString& caption);

// The caption as it is shown: single markers removed, "&&" reduced to "&".
QString captionWithoutMarkers(const QString& caption);
