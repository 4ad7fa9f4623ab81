#pragma once

#include "core/explain/operation_record.h"

#include "core/engine/img_tab.h"
#include "core/engine/rect.h"
#include "core/filter/filter_kernel.h"
#include "ui/filter/filter_grid.h"

#include <QDialog>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QButtonGroup;
class QLabel;
class QLayout;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QSlider;
class QSplitter;
class QTableWidget;
class QToolButton;

namespace ormica {

class TExplainPanel;
class TFileDialogs;
class TFormResponse;
class TImageWidget;
class TMagnifier;
class TProgress;
class TProgressBarAdapter;
struct TWorkspace;

// The filter window: a 7 x 7 filter chosen from the ready-made ones or the
// database, tuned with two regulators or typed by hand, tried on a fragment
// of the source image and run over the whole source image into the target.
// The working filter, the source array and the target are the workspace's.
class TFormDFilter : public QDialog {
    Q_OBJECT
public:
    // The workspace must outlive the window.
    explicit TFormDFilter(TWorkspace& workspace, QWidget* parent = nullptr);
    ~TFormDFilter() override;

    // The fragment to try the filter on, and what the filter made of it.
    TImgTabBGR TestSrcArr;
    TImgTabBGR TestTrgArr;
    // What made TestTrgArr, for explaining its pixels.
    TOperationRecordPtr FragmentRecord;
    // The reference of the focus regulator.
    TRegulatorOrigin Origin;

    // Copies the fragment `rect` of the source array to try the filter on,
    // and shows it; `progress` follows the drawing.
    void TakeFragment(const TRect& rect, TProgress* progress);

    // Gives the window the command that shows the database window modally
    // and returns the filter it handed over, if any; the database commands
    // stay disabled until it has one.
    void setShowDatabase(std::function<std::optional<TFilterData>()> show);
    // The dialogs that save the frequency response's plots; not owned.
    void setFileDialogs(TFileDialogs* dialogs);

    QMenuBar* MainMenu = nullptr;
    QAction* MMExit = nullptr;
    QAction* MMPopFilterH1 = nullptr;
    QAction* MMPopFilterH2 = nullptr;
    QAction* MMPopFilterH3 = nullptr;
    QAction* MMPopFilterL1 = nullptr;
    QAction* MMPopFilterL2 = nullptr;
    QAction* MMPopFilterL3 = nullptr;
    QAction* MMGoToDB = nullptr;
    QAction* MMRunFrag = nullptr;
    QAction* MMRunDest = nullptr;
    QAction* MMHelp = nullptr;
    QAction* MMResponse = nullptr;
    QToolButton* TB1FPlus = nullptr;
    QToolButton* TB1FMinus = nullptr;
    QToolButton* TB1RunDB = nullptr;
    QToolButton* TB1RunFrag = nullptr;
    QToolButton* TB1RunDest = nullptr;
    QToolButton* TB1Response = nullptr;
    QTableWidget* SGridFilter = nullptr;
    QLineEdit* EdFScale = nullptr;
    QToolButton* SpBttAuto = nullptr;
    QToolButton* SpBttNotAuto = nullptr;
    QSlider* TrackBarLight = nullptr;
    QSlider* TrackBarContrast = nullptr;
    QLabel* StTxtMessage = nullptr;
    QSplitter* Splitter = nullptr;
    // The pictures of the fragment and of its result; the linked magnifiers
    // in the splitter show them.
    TImageWidget* ImgTestSource = nullptr;
    TImageWidget* ImgTestTarget = nullptr;
    TMagnifier* MagTestSource = nullptr;
    TMagnifier* MagTestTarget = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // A left click on a pixel of either pane while a filtered fragment is
    // shown: the pixel, in the filtered fragment. It opens the explanation
    // of that pixel unless a test answers instead.
    std::function<void(QPoint)> FragmentPixelClicked;
    // Explains pixel `p` of the filtered fragment in a window of its own.
    void ExplainFragmentPixel(QPoint p);
    QDialog* WindowExplain = nullptr;
    TExplainPanel* PanelExplain = nullptr;

    // The frequency response of the working filter in a window of its own,
    // following every change of the kernel and the scale while it exists.
    void ShowResponse();
    TFormResponse* WindowResponse = nullptr;

    TKernelGridEditor* gridEditor() const { return gridEditor_; }

    // Takes the kernel's weights, returns both regulators to 0 and makes its
    // weight sum the scale and the regulators' origin. A kernel too large to
    // convolve is refused (false) and the filter stays as it was.
    bool LoadFilter(const TFilterKernel& kernel);
    void UpdateMode();
    // Filters the fragment into the test target; false when refused. Both
    // runs first take a scale still being typed, and stop if it is refused.
    bool RunOnFragment();
    // Filters the whole source image into the target image and closes the
    // window; false (window open, target untouched) when refused.
    bool RunOnImage();
    // Shows the database window; a filter it hands over is loaded, and one
    // LoadFilter refuses leaves the working filter as it was before.
    void CallDatabase();

signals:
    // The whole-image run has written the target array and image.
    void targetWritten();
    // A window of its own was made (the frequency response, a pixel's
    // explanation), so that the help can follow it.
    void windowMade(QWidget* window, const QString& helpPage);

public slots:
    void TB1RunDestClick();
    void MMHelpClick();

protected:
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void createMenu();
    void createReadyFilterItems(QMenu* filters);
    QWidget* createLeftPanel();
    QLayout* createTools(QWidget* panel);
    QWidget* createPictures();
    void TrackBarLightChange();
    void TrackBarContrastChange();
    void EdFScaleChange();
    bool EdFScaleExit();
    void showScale();
    void setTrackQuietly(QSlider* bar, int position);
    void closed();
    void updateResponse();

    TWorkspace& ws_;
    std::function<std::optional<TFilterData>()> showDatabase_;
    std::unique_ptr<TProgressBarAdapter> progress_;
    TKernelGridEditor* gridEditor_ = nullptr;
    QButtonGroup* modeButtons_ = nullptr;
    TFileDialogs* dialogs_ = nullptr;
};

// The help box's text: where to read further.
QString FilterHelpText();

}  // namespace ormica
