#include "ui/compare/compare_window.h"

#include "core/engine/image_control.h"
#include "core/engine/message_sink.h"
#include "ui/engine/busy_cursor.h"
#include "ui/engine/magnifier.h"
#include "ui/workspace/workspace.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace ormica {

namespace {

QImage pictureOf(const TImageControl* image)
{
    return image ? image->picture() : QImage();
}

QString numberText(double value)
{
    return std::isinf(value) ? QStringLiteral("∞") : QLocale().toString(value, 'g', 6);
}

}  // namespace

std::unique_ptr<TFormCompare> TFormCompare::Create(TWorkspace& ws, QWidget* parent)
{
    const QImage source = pictureOf(ws.SrcImageRef), target = pictureOf(ws.TrgImageRef);
    if (const QString refusal = CompareRefusal(source, target); !refusal.isEmpty()) {
        messages().warning(refusal);
        return nullptr;
    }
    std::optional<TImageComparison> numbers;
    {
        TBusyCursor busy;
        numbers = CompareImages(source, target);
    }
    return std::unique_ptr<TFormCompare>(new TFormCompare(source, target, *numbers, parent));
}

TFormCompare::TFormCompare(const QImage& source, const QImage& target, const TImageComparison& numbers, QWidget* parent)
    : QDialog(parent), source_(source), target_(target), numbers_(numbers)
{
    setWindowTitle(tr("Сравнение изображений: |основное − финишное|"));
    resize(720, 640);

    CBoxGain = new QComboBox(this);
    for (int gain = kMinDifferenceGain; gain <= kMaxDifferenceGain; gain *= 2)
        CBoxGain->addItem(QStringLiteral("×%1").arg(gain), gain);
    CBoxGain->setToolTip(tr("Во сколько раз усилить разность (не более 255)"));
    CBoxChannel = new QComboBox(this);
    // In the order of TCompareChannel.
    for (const char* name : {"B", "G", "R", "Light"})
        CBoxChannel->addItem(QString::fromLatin1(name));
    CBoxChannel->addItem(tr("все"));
    CBoxChannel->setCurrentIndex(int(TCompareChannel::All));
    CBoxChannel->setToolTip(tr("Разность какого канала показать"));
    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel(tr("Усиление:"), this));
    choices->addWidget(CBoxGain);
    choices->addSpacing(16);
    choices->addWidget(new QLabel(tr("Канал:"), this));
    choices->addWidget(CBoxChannel);
    choices->addStretch();

    ImgDiff = new TMagnifier(this);

    SGridNumbers = new QTableWidget(5, kCompareChannels, this);
    SGridNumbers->setHorizontalHeaderLabels(
        {QStringLiteral("B"), QStringLiteral("G"), QStringLiteral("R"), QStringLiteral("Light")});
    SGridNumbers->setVerticalHeaderLabels({tr("Различающихся пикселей"), tr("Наибольшая разность"),
                                           tr("Средняя абсолютная разность"), tr("Среднеквадратичная ошибка"),
                                           tr("PSNR, дБ")});
    SGridNumbers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGridNumbers->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SGridNumbers->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGridNumbers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fillNumbers();
    SGridNumbers->resizeRowsToContents();
    SGridNumbers->setFixedHeight(SGridNumbers->horizontalHeader()->height() + SGridNumbers->verticalHeader()->length() +
                                 2 * SGridNumbers->frameWidth());

    BitBtnClose = new QPushButton(tr("Закрыть"), this);
    connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(ImgDiff, 1);
    layout->addWidget(SGridNumbers);
    layout->addLayout(buttons);

    ShowDifference();
    connect(CBoxGain, &QComboBox::currentIndexChanged, this, &TFormCompare::ShowDifference);
    connect(CBoxChannel, &QComboBox::currentIndexChanged, this, &TFormCompare::ShowDifference);
}

void TFormCompare::fillNumbers()
{
    auto cell = [this](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SGridNumbers->setItem(row, column, item);
    };
    // The count belongs to no one channel: it spans them all.
    SGridNumbers->setSpan(0, 0, 1, kCompareChannels);
    cell(0, 0,
         tr("%1 из %2")
             .arg(numbers_.Differing)
             .arg(numbers_.Pixels));  // no digit grouping: a comma could read as a decimal point
    for (int c = 0; c < kCompareChannels; ++c) {
        const TChannelDifference& d = numbers_.Channels[std::size_t(c)];
        cell(1, c, QString::number(d.Max));
        cell(2, c, numberText(d.Mae));
        cell(3, c, numberText(d.Mse));
        cell(4, c, numberText(d.Psnr));
    }
}

void TFormCompare::ShowDifference()
{
    TBusyCursor busy;
    ImgDiff->setImage(DifferenceImage(source_, target_, TCompareChannel(CBoxChannel->currentIndex()),
                                      CBoxGain->currentData().toInt()));
}

}  // namespace ormica
