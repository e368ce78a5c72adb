#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

// Renders chameleonButton instances in each of their looks, exactly as the control draws
// itself, so that the drawings can be inspected.
struct GalleryOptions {
    int width = 67;
    int height = 25;
    QString caption = QStringLiteral("Search");
    int scheme = 2;
    quint32 back = 0xE0E0E0;
    quint32 backOver = 0xE0E0E0;
    quint32 fore = 0xFF0000;
    quint32 foreOver = 0xFF0000;
    quint32 mask = 0xC0C0C0;
    double fontSize = 8.25;
    bool bold = true;
};

// The looks, in the sheet's column order.
const QStringList& galleryLooks();

// One button of the given style in the given look, with pixels outside its window shape
// transparent. An unknown look yields a null image.
QImage renderButton(const GalleryOptions& options, int style, const QString& look);

// Every style (rows 1..14) in every look (columns), labelled.
QImage renderSheet(const GalleryOptions& options);
