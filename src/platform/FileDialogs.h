#pragma once

#include <QString>

class QWidget;

namespace platform {

// The open and save dialogs. A filter is written as the program writes it,
// "Label|pattern|Label|pattern"; an empty result means the user cancelled.
// Tests replace FileDialogs with one that returns the name they chose.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& suggestedName) = 0;
};

class QtFileDialogs : public FileDialogs {
public:
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& suggestedName) override;
};

// "Label|pattern|Label|pattern" -> "Label (pattern);;Label (pattern)", labels unchanged.
QString toQtFilter(const QString& filter);

} // namespace platform
