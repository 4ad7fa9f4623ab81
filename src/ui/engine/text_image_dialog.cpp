#include "ui/engine/text_image_dialog.h"

#include "core/engine/text_image.h"
#include "ui/engine/progress_bar.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ormica {

TTextImageDialog::TTextImageDialog(TFileDialogs* dialogs, const QString& caption, const QString& title,
                                   const QString& info, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs)
{
    setWindowTitle(caption);
    setModal(true);

    LabelInfo = new QLabel(info, this);
    LabelInfo->setObjectName(QStringLiteral("LabelInfo"));
    LabelInfo->setWordWrap(true);
    LabelInfo->setMinimumWidth(380);

    LabelTitle = new QLabel(title, this);
    LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
    QFont bold = LabelTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    LabelTitle->setFont(bold);

    RadioGroup1 = new QGroupBox(tr("Выбор разелителя между B,G,R"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioTab = new QRadioButton(tr("Знак табуляции"), RadioGroup1);
    RadioSemicolon = new QRadioButton(tr("Точка с запятой"), RadioGroup1);
    RadioOther = new QRadioButton(tr("Другой знак"), RadioGroup1);
    items_ = new QButtonGroup(this);
    items_->addButton(RadioTab, kSeparatorTab);
    items_->addButton(RadioSemicolon, kSeparatorSemicolon);
    items_->addButton(RadioOther, kSeparatorOther);
    RadioSemicolon->setChecked(true);
    EditSep = new QLineEdit(QStringLiteral(","), RadioGroup1);
    EditSep->setObjectName(QStringLiteral("EditSep"));
    EditSep->setMaxLength(1);
    EditSep->setMaximumWidth(40);
    auto* otherRow = new QHBoxLayout;
    otherRow->addWidget(RadioOther);
    otherRow->addWidget(EditSep);
    otherRow->addStretch();
    auto* groupLayout = new QVBoxLayout(RadioGroup1);
    groupLayout->addWidget(RadioTab);
    groupLayout->addWidget(RadioSemicolon);
    groupLayout->addLayout(otherRow);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &TTextImageDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TTextImageDialog::CancelBtnClick);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(LabelTitle);
    middle->addWidget(RadioGroup1, 1);
    middle->addLayout(buttons);

    ProgressBar1 = MakeProgressBar(this);
    progress_ = std::make_unique<TProgressBarAdapter>(ProgressBar1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelInfo);
    layout->addLayout(middle);
    layout->addWidget(ProgressBar1);
}

TTextImageDialog::~TTextImageDialog() = default;

int TTextImageDialog::ItemIndex() const
{
    return items_->checkedId();
}

void TTextImageDialog::SetItemIndex(int index)
{
    if (QAbstractButton* b = items_->button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = items_->checkedButton()) {
        // An exclusive group will not let its last checked button go.
        items_->setExclusive(false);
        checked->setChecked(false);
        items_->setExclusive(true);
    }
}

QString TTextImageDialog::Separator() const
{
    return TextSeparator(ItemIndex(), EditSep->text());
}

const QStringList& TTextImageDialog::TxtFilters()
{
    static const QStringList filters{QStringLiteral("Image text format files (*.txt)")};
    return filters;
}

void TTextImageDialog::OKBtnClick()
{
    Run();
    accept();
}

void TTextImageDialog::CancelBtnClick()
{
    reject();
}

}  // namespace ormica
