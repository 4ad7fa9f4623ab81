#include "ui/app/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace ormica {

const QString TFormAbout::kVersion = QStringLiteral("3.5.3.1");

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(tr("О программе"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("<h2>Ormica</h2>"), this);
    name->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(tr("Версия %1").arg(kVersion), this);
    version->setObjectName(QStringLiteral("LabelVersion"));
    version->setAlignment(Qt::AlignCenter);
    auto* purpose = new QLabel(tr("Учебная программа для изучения базовых методов цифровой обработки изображений: "
                                  "зеркальное отражение, поворот, обрезка и масштабирование, обесцвечивание, "
                                  "гистограммы и статистики яркости, функции преобразования яркости, "
                                  "цифровые фильтры и статистики фрагмента изображения.\n\n"
                                  "Для учебного процесса."),
                               this);
    purpose->setWordWrap(true);
    purpose->setAlignment(Qt::AlignCenter);
    purpose->setMinimumWidth(360);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(purpose);
    layout->addWidget(buttons);
}

}  // namespace ormica
