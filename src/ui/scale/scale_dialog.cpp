#include "ui/scale/scale_dialog.h"

#include "core/engine/image_control.h"
#include "core/engine/message_sink.h"
#include "ui/engine/busy_cursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace ormica {

namespace {

const QColor kPink(255, 200, 200);

// Two links of a chain: the sides are held together.
QPixmap chainPicture()
{
    QPixmap pixmap(20, 44);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 3));
    painter.drawRoundedRect(QRectF(4, 2, 12, 22), 6, 6);
    painter.drawRoundedRect(QRectF(4, 20, 12, 22), 6, 6);
    return pixmap;
}

QLineEdit* makeEdit(const char* name, QWidget* parent, bool readOnly)
{
    auto* edit = new QLineEdit(QStringLiteral("0"), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(readOnly);
    edit->setMaximumWidth(90);
    return edit;
}

QComboBox* makeUnits(const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems({TFormScaleDialog::tr("Пиксели"), TFormScaleDialog::tr("Проценты")});
    box->setCurrentIndex(0);
    return box;
}

bool inPercent(const QComboBox* units)
{
    return units->currentIndex() == 1;
}

// A preview of an out-of-range request never shows more than this zoom.
constexpr double kPreviewZoom = double(TImageScale::kMaxSide) * 1000;

// Swallows the messages of a request only tried.
class TQuietMessages : public TMessageSink {
public:
    TQuietMessages() : previous_(setMessageSink(this)) {}
    ~TQuietMessages() override { setMessageSink(previous_); }
    TQuietMessages(const TQuietMessages&) = delete;
    TQuietMessages& operator=(const TQuietMessages&) = delete;
    void warning(const QString&) override {}
    void error(const QString&) override {}
    bool question(const QString&, TQuestionKind) override { return false; }
    void information(const QString&) override {}

private:
    TMessageSink* previous_;
};

// The entry's number in the locale's writing; none for anything else.
std::optional<double> entryValue(const QLineEdit* edit)
{
    bool ok = false;
    const double value = QLocale().toDouble(edit->text().trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Whole pixels far outside the engine's range are its to correct; the
// rounding must not overflow on the way there.
int roundSide(double v)
{
    return static_cast<int>(std::nearbyint(std::clamp(v, 0.0, double(TImageScale::kMaxSide) * 1000)));
}

// "%4.1f" with the locale's decimal separator.
QString percentText(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4.1f", value);
    return QString::fromLatin1(buf).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

}  // namespace

TFormScaleDialog::TFormScaleDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormScaleDialog"));
    setWindowTitle(tr("  Размер рисунка"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(createSizes());

    ChkBoxProportional = new QCheckBox(tr(" Сохранять пропорции"), this);
    ChkBoxProportional->setObjectName(QStringLiteral("ChkBoxProportional"));
    ChkBoxProportional->setChecked(true);
    layout->addWidget(ChkBoxProportional);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* method = new QHBoxLayout(GroupBox1);
    method->addWidget(new QLabel(tr("Метод масштабирования"), GroupBox1));
    CboBoxMhetod = new QComboBox(GroupBox1);
    CboBoxMhetod->setObjectName(QStringLiteral("CboBoxMhetod"));
    CboBoxMhetod->addItems({QStringLiteral("Win StretchBlt"), tr("Резерв 1"), tr("Резерв 2")});
    CboBoxMhetod->setCurrentIndex(0);
    method->addWidget(CboBoxMhetod, 1);
    layout->addWidget(GroupBox1);

    layout->addLayout(createButtons());
    connectControls();
    ShowPixelCount();
}

QLayout* TFormScaleDialog::createSizes()
{
    auto* sizes = new QGridLayout;
    sizes->addWidget(new QLabel(tr("Ширина исходного изображения"), this), 0, 0);
    EditSrcW = makeEdit("EditSrcW", this, true);
    sizes->addWidget(EditSrcW, 0, 1);
    sizes->addWidget(new QLabel(tr("Высота исходного изображения"), this), 1, 0);
    EditSrcH = makeEdit("EditSrcH", this, true);
    sizes->addWidget(EditSrcH, 1, 1);

    sizes->addWidget(new QLabel(tr("Ширина"), this), 2, 0);
    EditTrgW = makeEdit("EditTrgW", this, false);
    sizes->addWidget(EditTrgW, 2, 1);
    CbBoxTrgW = makeUnits("CbBoxTrgW", this);
    sizes->addWidget(CbBoxTrgW, 2, 2);
    sizes->addWidget(new QLabel(tr("Высота"), this), 3, 0);
    EditTrgH = makeEdit("EditTrgH", this, false);
    sizes->addWidget(EditTrgH, 3, 1);
    CbBoxTrgH = makeUnits("CbBoxTrgH", this);
    sizes->addWidget(CbBoxTrgH, 3, 2);
    ImageProportional = new QLabel(this);
    ImageProportional->setObjectName(QStringLiteral("ImageProportional"));
    ImageProportional->setPixmap(chainPicture());
    sizes->addWidget(ImageProportional, 2, 3, 2, 1);
    return sizes;
}

QLayout* TFormScaleDialog::createButtons()
{
    auto* buttons = new QHBoxLayout;
    BitBtnRun = new QPushButton(tr("  Выполнить"), this);
    BitBtnRun->setObjectName(QStringLiteral("BitBtnRun"));
    BitBtnRun->setDefault(true);
    BitBtnCancel = new QPushButton(tr("  Отмена"), this);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    BitBtnUnDo = new QPushButton(tr(" Назад"), this);
    BitBtnUnDo->setObjectName(QStringLiteral("BitBtnUnDo"));
    // A click leaves the focus in the entry: cancelling must not finish it
    // first, and the run finishes it itself.
    for (QPushButton* b : {BitBtnRun, BitBtnCancel, BitBtnUnDo})
        b->setFocusPolicy(Qt::TabFocus);
    buttons->addWidget(BitBtnUnDo);
    buttons->addStretch(1);
    buttons->addWidget(BitBtnRun);
    buttons->addWidget(BitBtnCancel);
    return buttons;
}

void TFormScaleDialog::connectControls()
{
    connect(BitBtnRun, &QPushButton::clicked, this, &TFormScaleDialog::BitBtnRunClick);
    connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtnUnDo, &QPushButton::clicked, this, &TFormScaleDialog::ResetScale);
    connect(CbBoxTrgW, &QComboBox::currentIndexChanged, this, [this] { ShowWidth(); });
    connect(CbBoxTrgH, &QComboBox::currentIndexChanged, this, [this] { ShowHeight(); });
    connect(EditTrgW, &QLineEdit::textChanged, this, [this] { EditTrgChange(true); });
    connect(EditTrgH, &QLineEdit::textChanged, this, [this] { EditTrgChange(false); });
    connect(EditTrgW, &QLineEdit::editingFinished, this, [this] { finishEntry(true); });
    connect(EditTrgH, &QLineEdit::editingFinished, this, [this] { finishEntry(false); });
    EditTrgW->installEventFilter(this);
    EditTrgH->installEventFilter(this);
    connect(ChkBoxProportional, &QCheckBox::clicked, this, [this](bool checked) {
        ImageProportional->setVisible(checked);
        engine_.Proportional = checked;
    });
}

TFormScaleDialog::~TFormScaleDialog()
{
    // QDialog hides the window after this class is gone, and the entry that
    // loses the focus would finish into it.
    for (QLineEdit* edit : {EditTrgW, EditTrgH})
        disconnect(edit, nullptr, this, nullptr);
}

void TFormScaleDialog::SetScaleImages(TImageControl* source, TImageControl* target)
{
    source_ = source;
    target_ = target;
}

void TFormScaleDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormScaleDialog::FormShow()
{
    if (source_ && target_) {
        EditSrcW->setText(QString::number(source_->width()));
        EditSrcH->setText(QString::number(source_->height()));
        engine_.SetSource(source_);
        engine_.Target = target_;
        ResetScale();
        return;
    }
    EditSrcW->setText(QStringLiteral("0"));
    EditSrcH->setText(QStringLiteral("0"));
    engine_.SetSource(nullptr);
    engine_.Target = nullptr;
    messages().warning(tr("Не выполнена предустановка Images.\r\nФорма будет закрыта ..."));
    // Closed once the showing is over; a dialog cannot hide while it shows.
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void TFormScaleDialog::ResetScale()
{
    ChkBoxProportional->setChecked(true);
    ImageProportional->setVisible(true);
    engine_.Proportional = true;
    engine_.SetZoom(1.0);
    ShowHeight();
    ShowWidth();
}

void TFormScaleDialog::showSide(bool width)
{
    QLineEdit* edit = width ? EditTrgW : EditTrgH;
    const QComboBox* units = width ? CbBoxTrgW : CbBoxTrgH;
    const int trg = width ? engine_.TrgWidth : engine_.TrgHeight;
    const int src = width ? engine_.SrcWidth : engine_.SrcHeight;
    const QSignalBlocker quiet(edit);
    if (inPercent(units))
        edit->setText(percentText(src > 0 ? double(trg) / src * 100 : 0));
    else
        edit->setText(QString::number(trg));
    setPink(edit, false);
    waiting(width) = false;
    ShowPixelCount();
}

void TFormScaleDialog::ShowHeight()
{
    showSide(false);
}

void TFormScaleDialog::ShowWidth()
{
    showSide(true);
}

void TFormScaleDialog::ShowPixelCount()
{
    ShowPixelCount(engine_.TrgWidth, engine_.TrgHeight);
}

void TFormScaleDialog::ShowPixelCount(qint64 width, qint64 height)
{
    GroupBox1->setTitle(
        tr(" Количество пикселей: %1 (было: %2)")
            .arg(QString::number(width * height), QString::number(qint64(engine_.SrcWidth) * engine_.SrcHeight)));
}

void TFormScaleDialog::setPink(QLineEdit* edit, bool pink)
{
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, pink ? kPink : palette().color(QPalette::Base));
    edit->setPalette(pal);
}

void TFormScaleDialog::EditTrgChange(bool width)
{
    QLineEdit* edit = width ? EditTrgW : EditTrgH;
    waiting(width) = false;
    const std::optional<double> value = entryValue(edit);
    setPink(edit, !value);
    const int trg = width ? engine_.TrgWidth : engine_.TrgHeight;
    if (!value || trg <= 0 || *value <= 0)
        return;
    TImageScale trial = engine_;
    {
        const TQuietMessages quiet;
        applyEntry(trial, width, *value);
    }
    if (trial.Corrected) {
        waiting(width) = true;
        showPreview(width, *value);
        return;
    }
    engine_ = trial;
    if (engine_.Proportional)
        showSide(!width);
    ShowPixelCount();
}

bool TFormScaleDialog::finishEntry(bool width)
{
    if (!waiting(width))
        return false;
    // Cleared first: the warning box takes the focus, which finishes the entry again.
    waiting(width) = false;
    const std::optional<double> value = entryValue(width ? EditTrgW : EditTrgH);
    if (!value || *value <= 0)
        return false;
    engine_.Corrected = false;
    applyEntry(engine_, width, *value);
    const bool corrected = engine_.Corrected;
    if (corrected)
        showSide(width);
    // The other entry may still show the uncorrected preview.
    showSide(!width);
    return corrected;
}

void TFormScaleDialog::applyEntry(TImageScale& engine, bool width, double value) const
{
    const int trg = width ? engine.TrgWidth : engine.TrgHeight;
    const int src = width ? engine.SrcWidth : engine.SrcHeight;
    engine.Corrected = false;
    const auto setSide = [&](int side) {
        if (width)
            engine.SetTargetWidth(side);
        else
            engine.SetTargetHeight(side);
    };
    if (inPercent(width ? CbBoxTrgW : CbBoxTrgH)) {
        if (value != engine.Zoom * 100) {
            if (engine.Proportional)
                engine.SetZoom(value / 100);
            else
                setSide(roundSide(value / 100 * src));
        }
    } else if (value != trg) {
        if (engine.Proportional)
            engine.SetZoom(src > 0 ? value / src : 1.0);
        else
            setSide(roundSide(value));
    }
}

void TFormScaleDialog::showPreview(bool width, double value)
{
    const int src = width ? engine_.SrcWidth : engine_.SrcHeight;
    const int srcOther = width ? engine_.SrcHeight : engine_.SrcWidth;
    const bool percent = inPercent(width ? CbBoxTrgW : CbBoxTrgH);
    qint64 side = 0;
    qint64 other = width ? engine_.TrgHeight : engine_.TrgWidth;
    if (engine_.Proportional) {
        const double zoom = std::min(percent ? value / 100 : src > 0 ? value / src : 1.0, kPreviewZoom);
        side = roundSide(zoom * src);
        other = roundSide(zoom * srcOther);
        QLineEdit* edit = width ? EditTrgH : EditTrgW;
        const QSignalBlocker quiet(edit);
        edit->setText(inPercent(width ? CbBoxTrgH : CbBoxTrgW) ? percentText(zoom * 100) : QString::number(other));
        setPink(edit, false);
    } else {
        side = roundSide(percent ? value / 100 * src : value);
    }
    if (width)
        ShowPixelCount(side, other);
    else
        ShowPixelCount(other, side);
}

bool TFormScaleDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == EditTrgW || watched == EditTrgH)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // A corrected entry is shown before anything runs; otherwise Enter
        // runs as the default button always did.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && finishEntry(watched == EditTrgW))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormScaleDialog::reject()
{
    // Nothing typed is applied once the dialog is cancelled.
    waitingW_ = waitingH_ = false;
    QDialog::reject();
}

void TFormScaleDialog::BitBtnRunClick()
{
    finishEntry(true);
    finishEntry(false);
    if (CboBoxMhetod->currentIndex() == 0) {
        TBusyCursor busy;
        engine_.Execute();
    } else {
        messages().information(tr("Пока НЕ реализовано"));
    }
    accept();
}

}  // namespace ormica
