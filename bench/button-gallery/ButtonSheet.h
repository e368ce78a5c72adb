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
    // Pictures: with picture set the buttons show it at picturePosition (0..4); with
    // everyPosition the sheet has a row for each style in each position.
    QImage picture;
    QImage pictureOver;
    int picturePosition = 0;
    bool everyPosition = false;
    bool greyscale = false;
    int effect = 0;
    QList<int> styles = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
};

// The gallery's own 16 x 16 picture, a magnifying glass on the mask colour; over gives
// it in the hover colours.
QImage galleryPicture(quint32 mask, bool over);

// The looks, in the sheet's column order.
const QStringList& galleryLooks();

// One button of the given style in the given look, with pixels outside its window shape
// transparent. An unknown look yields a null image.
QImage renderButton(const GalleryOptions& options, int style, const QString& look);

// Every style (rows) in every look (columns), labelled; with everyPosition one row for each
// style and picture position.
QImage renderSheet(const GalleryOptions& options);
