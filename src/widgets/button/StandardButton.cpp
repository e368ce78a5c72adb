#include "StandardButton.h"

#include <QFont>
#include <QImage>

PropertyBag standardButtonProperties(const QString& caption, quint32 backColor) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);

    PropertyBag bag;
    bag.setInt(QStringLiteral("btype"), 3);
    bag.setString(QStringLiteral("tx"), caption);
    bag.setBool(QStringLiteral("enab"), true);
    bag.setFont(QStringLiteral("font"), font);
    bag.setInt(QStringLiteral("coltype"), 2);
    bag.setBool(QStringLiteral("focusr"), true);
    bag.setColor(QStringLiteral("bcol"), backColor);
    bag.setColor(QStringLiteral("bcolo"), backColor);
    bag.setColor(QStringLiteral("fcol"), 0xFF0000);
    bag.setColor(QStringLiteral("fcolo"), 0xFF0000);
    bag.setColor(QStringLiteral("mcol"), 0xC0C0C0);
    bag.setInt(QStringLiteral("mptr"), 1);
    bag.setPicture(QStringLiteral("micon"), QImage());
    bag.setPicture(QStringLiteral("picn"), QImage());
    bag.setPicture(QStringLiteral("pich"), QImage());
    bag.setBool(QStringLiteral("umcol"), true);
    bag.setBool(QStringLiteral("soft"), false);
    bag.setInt(QStringLiteral("picpos"), 0);
    bag.setBool(QStringLiteral("ngrey"), false);
    bag.setInt(QStringLiteral("fx"), 0);
    bag.setBool(QStringLiteral("hand"), false);
    bag.setBool(QStringLiteral("check"), false);
    bag.setBool(QStringLiteral("value"), false);
    return bag;
}
