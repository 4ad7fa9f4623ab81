#include "ui/histogram/histogram_window.h"

#include "ui/engine/image_widget.h"
#include "ui/engine/progress_bar.h"
#include "ui/histogram/fragment_tab.h"
#include "ui/histogram/histogram_tab.h"
#include "ui/histogram/transfer_tab.h"

#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace ormica {

TFormGistogram::TFormGistogram(TWorkspace& workspace, QWidget* parent) : QDialog(parent), ws_(workspace)
{
    setObjectName(QStringLiteral("FormGistogram"));
    setWindowTitle(tr("  Гистограммы"));
    setModal(true);
    resize(856, 658);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);
    ProgressBar1 = MakeProgressBar(this);
    layout->addWidget(ProgressBar1);
    progress_ = std::make_unique<TProgressBarAdapter>(ProgressBar1);

    FormCreate();
}

TFormGistogram::~TFormGistogram() = default;

void TFormGistogram::FormCreate()
{
    // Each tab is built inside the page control, so that it measures its
    // texts in the font it will show them in.
    histograms_ = new THistogramTab(ws_, *progress_, PageControl1);
    PageControl1->addTab(histograms_, tr("Гистограммы"));
    transfer_ = new TTransferTab(ws_, *progress_, PageControl1);
    PageControl1->addTab(transfer_, tr("Функции преобразования"));
    fragment_ = new TFragmentTab(ws_, FragArr, PageControl1);
    PageControl1->addTab(fragment_, tr("Дополнительная статистика"));

    connect(histograms_, &THistogramTab::captionChanged, this, &QWidget::setWindowTitle);
    connect(histograms_, &THistogramTab::refreshed, fragment_, &TFragmentTab::ShowFragmentStatistics);
    connect(transfer_, &TTransferTab::targetWritten, this, &TFormGistogram::afterTransferRun);

    stTextNumAll = histograms_->findChild<QLabel*>(QStringLiteral("stTextNumAll"));
    StTextMM = histograms_->findChild<QLabel*>(QStringLiteral("StTextMM"));
    StTextNumWhitePr = histograms_->findChild<QLabel*>(QStringLiteral("StTextNumWhitePr"));
    SpButGistTrg = histograms_->findChild<QToolButton*>(QStringLiteral("SpButGistTrg"));
    TB1Neg = transfer_->findChild<QToolButton*>(QStringLiteral("TB1Neg"));
    TB1Run = transfer_->findChild<QToolButton*>(QStringLiteral("TB1Run"));
    ImgAcFrg = fragment_->findChild<TImageWidget*>(QStringLiteral("ImgAcFrg"));
}

TRect TFormGistogram::TakeFragment(const QImage& picture, TRect rect)
{
    return fragment_->TakeFragment(picture, rect);
}

void TFormGistogram::ShowFragment()
{
    fragment_->ShowFragment();
}

void TFormGistogram::setFileDialogs(TFileDialogs* dialogs)
{
    transfer_->setFileDialogs(dialogs);
    histograms_->setFileDialogs(dialogs);
    fragment_->setFileDialogs(dialogs);
}

TCrossHairSelector* TFormGistogram::crossHair() const
{
    return fragment_->crossHair();
}

void TFormGistogram::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormGistogram::FormShow()
{
    histograms_->ClearHistograms();
    if (GistogramMode == 1 || GistogramMode == 2) {
        histograms_->ShowSourceHistograms();
        PageControl1->setCurrentIndex(GistogramMode == 1 ? 0 : 2);
    } else {
        PageControl1->setCurrentIndex(0);
    }
    fragment_->PrepareShowing();
}

void TFormGistogram::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void TFormGistogram::FormClose()
{
    fragment_->ResetAcState();
}

// The target's histograms are in front when the main window learns of it.
void TFormGistogram::afterTransferRun()
{
    histograms_->ShowTargetHistograms();
    emit targetWritten();
    close();
}

}  // namespace ormica
