#pragma once

#include "core/engine/img_tab.h"
#include "core/engine/rect.h"

#include <QDialog>
#include <cstdint>
#include <memory>

class QImage;
class QLabel;
class QProgressBar;
class QTabWidget;
class QToolButton;

namespace ormica {

class TCrossHairSelector;
class TFileDialogs;
class TFragmentTab;
class THistogramTab;
class TImageWidget;
class TProgressBarAdapter;
class TTransferTab;
struct TWorkspace;

// The histogram window: the tabs of the histograms of the source or the
// target image, of the transfer function and of the fragment statistics,
// over a progress bar. The images are the workspace's.
class TFormGistogram : public QDialog {
    Q_OBJECT
public:
    // The workspace must outlive the window.
    explicit TFormGistogram(TWorkspace& workspace, QWidget* parent = nullptr);
    ~TFormGistogram() override;

    // How the next showing opens: 1 histograms only, 2 histograms and fragment.
    std::uint8_t GistogramMode = 0;
    // The fragment of the source image that the main window hands over.
    TImgTabColor FragArr;
    // Takes the part `rect` of the source picture as the fragment, cut to what
    // the fragment image can show, and draws it there; the part taken.
    TRect TakeFragment(const QImage& picture, TRect rect);
    // Draws FragArr at the fragment image's top-left corner, under the cross.
    void ShowFragment();
    // Lets the fragment go once the window has been shown with it.
    void ReleaseFragment() { FragArr.clear(); }
    // The open and save dialogs of function files and of the plots'
    // pictures and numbers; not owned.
    void setFileDialogs(TFileDialogs* dialogs);

    QTabWidget* PageControl1 = nullptr;

    THistogramTab& histograms() const { return *histograms_; }
    TTransferTab& transfer() const { return *transfer_; }
    TFragmentTab& fragment() const { return *fragment_; }
    // The cross-hair on the fragment image; it also bounds the fragment.
    TCrossHairSelector* crossHair() const;

    // Controls of the tabs that the main window's tests still reach through
    // the window.
    QLabel* stTextNumAll = nullptr;
    QLabel* StTextMM = nullptr;
    QLabel* StTextNumWhitePr = nullptr;
    QToolButton* SpButGistTrg = nullptr;
    QToolButton* TB1Neg = nullptr;
    QToolButton* TB1Run = nullptr;
    TImageWidget* ImgAcFrg = nullptr;

signals:
    // The transfer-function run has written the target array and image.
    void targetWritten();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void afterTransferRun();

    TWorkspace& ws_;
    QProgressBar* ProgressBar1 = nullptr;
    std::unique_ptr<TProgressBarAdapter> progress_;
    THistogramTab* histograms_ = nullptr;
    TTransferTab* transfer_ = nullptr;
    TFragmentTab* fragment_ = nullptr;
};

}  // namespace ormica
