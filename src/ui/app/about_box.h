#pragma once

#include <QDialog>

namespace ormica {

// The about box: what the program is for, its name and version.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    static const QString kVersion;
    explicit TFormAbout(QWidget* parent = nullptr);
};

}  // namespace ormica
