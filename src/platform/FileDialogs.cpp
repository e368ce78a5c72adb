#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace platform {

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") +
                   QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    if (parts.size() % 2 == 1 && !parts.last().isEmpty()) out << parts.last();
    return out.join(QStringLiteral(";;"));
}

QString QtFileDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), toQtFilter(filter));
}

QString QtFileDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                    const QString& suggestedName) {
    return QFileDialog::getSaveFileName(parent, title, suggestedName, toQtFilter(filter));
}

} // namespace platform
