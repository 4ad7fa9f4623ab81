// The main window's status bar: its panels, the attention lamp, and the
// caption that names the file of the page shown.
#include "ui/app/main_window.h"

#include "ui/engine/image_widget.h"
#include "ui/engine/qt_color.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace ormica {

namespace {

QLabel* makeBox(const QString& hint, QWidget* parent)
{
    auto* box = new QLabel(parent);
    box->setFixedSize(16, 17);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAutoFillBackground(true);
    box->setToolTip(hint);
    return box;
}

// A status panel too narrow for its message (the window at its minimum
// width) shows what fits, ending in "…", and the whole message as its tip.
class TStatusPanel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!cut()) {
            QLabel::paintEvent(event);
            return;
        }
        QFrame::paintEvent(event);
        QPainter painter(this);
        const QRect room = textRoom();
        style()->drawItemText(&painter, room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                              fontMetrics().elidedText(text(), Qt::ElideRight, room.width()), foregroundRole());
    }
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
            if (cut())
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
            else
                QToolTip::hideText();
            return true;
        }
        return QLabel::event(event);
    }

private:
    // Where QLabel puts a left-aligned text inside a frame.
    QRect textRoom() const
    {
        const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
        return contentsRect().adjusted(indent, 0, 0, 0);
    }
    bool cut() const { return fontMetrics().horizontalAdvance(text()) > textRoom().width(); }
};

}  // namespace

// The progress bar over the status bar and its four panels.
QWidget* TFormOrmica::createStatusPanel(QWidget* parent)
{
    Panel2 = new QWidget(parent);
    auto* bottom = new QVBoxLayout(Panel2);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    ProgressBar1 = new QProgressBar(Panel2);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(12);
    ProgressBar1->setValue(0);
    StatusBar1 = new QStatusBar(Panel2);
    StatusBar1->setSizeGripEnabled(true);
    // Panel 1 shows where a selection starts; four-digit coordinates fit.
    const QString widestStart =
        tr(" Старт XY : (%1, %2)  RGB(%3,%4,%5)").arg(8888).arg(8888).arg(888).arg(888).arg(888);
    const int startW = StatusBar1->fontMetrics().horizontalAdvance(widestStart) +
                       StatusBar1->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 + 4;
    const int widths[3] = {24, std::max(250, startW), 24};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new TStatusPanel(StatusBar1);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setMinimumHeight(21);
        if (i < 3) {
            panels_[i]->setFixedWidth(widths[i]);
            StatusBar1->addWidget(panels_[i]);
        } else {
            panels_[i]->setMinimumWidth(50);
            StatusBar1->addWidget(panels_[i], 1);
        }
    }
    sttxtHistory = new TStatusPanel(StatusBar1);
    sttxtHistory->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sttxtHistory->setMinimumHeight(21);
    sttxtHistory->setMinimumWidth(50);
    sttxtHistory->hide();
    StatusBar1->addWidget(sttxtHistory);
    // The colour box and the lamp sit over panels 0 and 2.
    stxtPointColor = makeBox(tr("Цвет пикселя в начальной точке выделения"), panels_[0]);
    sttxtAttention = makeBox(tr("Индикатор внимания"), panels_[2]);
    stxtPointColor->move(4, 2);
    sttxtAttention->move(4, 2);
    bottom->addWidget(ProgressBar1);
    bottom->addWidget(StatusBar1);
    return Panel2;
}

QString TFormOrmica::statusText(int panel) const
{
    return panel >= 0 && panel < 4 ? panels_[panel]->text() : QString();
}

TColor TFormOrmica::statusBarColor() const
{
    const QColor c = StatusBar1->palette().color(QPalette::Window);
    return RGBToColor(c.red(), c.green(), c.blue());
}

void TFormOrmica::showLamp(TColor color)
{
    lampShown_ = color;
    QPalette pal = sttxtAttention->palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    sttxtAttention->setPalette(pal);
}

TColor TFormOrmica::lampColor() const
{
    return lampShown_;
}

bool TFormOrmica::lampBlinking() const
{
    return TimerAttention->isActive();
}

void TFormOrmica::ResetIndicators()
{
    QPalette pal = stxtPointColor->palette();
    pal.setColor(QPalette::Window, ToQColor(statusBarColor()));
    stxtPointColor->setPalette(pal);
    showLamp(statusBarColor());
    TimerAttention->stop();
    panels_[1]->clear();
    panels_[3]->clear();
}

void TFormOrmica::SetAttention(bool on, TColor color, const QString& text)
{
    if (!text.isEmpty())
        panels_[3]->setText(text);
    if (on)
        TimerAttention->start();
    else
        TimerAttention->stop();
    lampTag_ = color;
    showLamp(on ? color : statusBarColor());
}

void TFormOrmica::TimerAttentionTimer()
{
    showLamp(lampShown_ == statusBarColor() ? lampTag_ : statusBarColor());
}

void TFormOrmica::ShowPage(int page)
{
    const TImageControl* image = nullptr;
    QString fileTitle;
    QScrollArea* box = nullptr;
    if (page == 0) {
        image = ImageMain;
        fileTitle = tr(" Файл основного изображения : %1");
        box = ScrollBoxSrcImg;
    } else if (page == 1) {
        image = TargetImage;
        fileTitle = tr(" Файл финишного изображения : %1");
        box = ScrollBoxTrgImg;
    } else {
        setWindowTitle(Caption());
        return;
    }
    if (PageControl1->currentIndex() != page)
        PageControl1->setCurrentIndex(page);
    const TImageDesc* desc = image->imageDesc();
    setWindowTitle(desc ? Caption() + fileTitle.arg(QFileInfo(desc->FileName).fileName()) : Caption());
    box->setFocus();
}

void TFormOrmica::MarkNoName(TImageControl& image)
{
    TImageDesc& desc = image.ensureImageDesc();
    desc.FileName = QStringLiteral("NoName");
    desc.SourceKind = skOperation;
    desc.PixelFormat = pf24bit;
}

}  // namespace ormica
