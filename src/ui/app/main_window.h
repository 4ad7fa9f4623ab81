#pragma once

#include "core/engine/color.h"
#include "core/engine/load_save_image.h"
#include "core/engine/progress.h"
#include "core/engine/rect.h"
#include "core/explain/operation_record.h"
#include "core/app/language.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QDockWidget;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QScrollArea;
class QSlider;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;

namespace ormica {

class TColorQuestion;
class TExplainPanel;
class TFormDFilter;
class TFormScaleDialog;
class TFormGistogram;
class THelpWindow;
class TImageWidget;
class TImgTabBGR;
class TRegionSelector;
class TUndoHistory;
struct TWorkspace;

// The tool windows created at start-up, hidden; null until the program has them.
struct TToolWindows {
    TFormScaleDialog* scale = nullptr;
    QDialog* importText = nullptr;
    QDialog* exportText = nullptr;
    TFormDFilter* filter = nullptr;
    QDialog* about = nullptr;
    TFormGistogram* histogram = nullptr;
    QDialog* microBase = nullptr;
    THelpWindow* help = nullptr;
};

// The fragment selected on the source image: start and end corners.
struct TFragRect {
    int StartX = 0, StartY = 0, EndX = 0, EndY = 0;
    bool selected() const { return StartX != EndX || StartY != EndY; }
};

// The main window: the source and target images on two tabs, the commands,
// the status bar with its attention lamp. It puts its image controls into
// the workspace, whose arrays hold the images for every window.
class TFormOrmica : public QMainWindow, private TOwnerForm {
    Q_OBJECT
public:
    // dialogs answers the open and save questions, colors the colour
    // question; they and the workspace must outlive the window.
    TFormOrmica(TWorkspace& workspace, TFileDialogs* dialogs, TColorQuestion* colors, QWidget* parent = nullptr);
    ~TFormOrmica() override;

    static const QString kCaption;
    // kCaption in the language the program speaks.
    static QString Caption();

    // Gives the window the tool windows it opens; their commands are enabled.
    void setToolWindows(const TToolWindows& windows);
    // Shows a tool window modally; tests answer in its place.
    std::function<int(QDialog&)> ShowModal;

    // Loads a named file into the source (0) or the target (1) image as
    // "Загрузить" would after its dialog: files given on the command line
    // and files dropped on a tab.
    void OpenFile(const QString& fileName, int page);
    // Loads sample picture `key` ("chart") into the source image.
    void OpenSample(const QString& key);
    // Opens the help on `page` ("filter", "filter#scale").
    void ShowHelp(const QString& page);
    // Forgets every step to undo and redo.
    void ClearHistory();

    void ResetIndicators();
    void ShowPage(int page);
    void MarkNoName(TImageControl& image);
    void SetAttention(bool on, TColor color, const QString& text);

    // Angle typed in EdiAngle, or 0 after a warning when it is not a number
    // or lies outside -89.9 .. 89.9.
    long double ReadAngle();

    TLoadSaveImage* loadSaveService() const { return loadSave_.get(); }
    TUndoHistory* undoHistory() const { return history_.get(); }
    TRegionSelector* regionSelector() const { return selector_.get(); }
    const TFragRect& fragment() const { return FragRect; }
    int rotationRow() const { return RRow; }
    int rotationCol() const { return RCol; }
    TColor rotationFill() const { return rotColor_; }
    TProgress& progress() { return *progress_; }
    QString statusText(int panel) const;
    TColor lampColor() const;
    bool lampBlinking() const;

    // Controls, named as the users' manuals name them.
    QWidget* PanelRotate = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* PanelSrcImg = nullptr;
    QWidget* PanelTrgImg = nullptr;
    QScrollArea* ScrollBoxSrcImg = nullptr;
    QScrollArea* ScrollBoxTrgImg = nullptr;
    TImageWidget* ImageMain = nullptr;
    TImageWidget* TargetImage = nullptr;
    QWidget* Panel2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* stxtPointColor = nullptr;
    QLabel* sttxtAttention = nullptr;
    QLabel* sttxtHistory = nullptr;  // why a command cannot be undone; hidden when empty
    QTimer* TimerAttention = nullptr;

    QWidget* ToolBarRotate = nullptr;  // the rotation and zoom bar; wraps when narrow
    QToolButton* TBRMirrorTD = nullptr;
    QToolButton* TBRMirrorLR = nullptr;
    QToolButton* TBRRot90Minus = nullptr;
    QToolButton* TBRRot90Plus = nullptr;
    QToolButton* TBRRunAngle = nullptr;
    QLineEdit* EdiAngle = nullptr;
    QLabel* sttxtRotationCentre = nullptr;
    QLabel* sttxtTBRotColor = nullptr;
    QToolButton* TBRZoomPlus = nullptr;
    QSlider* TrBarZoom = nullptr;
    QLabel* sttxtZoomValue = nullptr;

    QAction* MMLoadToSrc = nullptr;
    QAction* MMLoadToDest = nullptr;
    QAction* MMSaveFromSrc = nullptr;
    QAction* MMSaveFromDest = nullptr;
    QAction* MMImportToSrc = nullptr;
    QAction* MMExportFromSrc = nullptr;
    QAction* MMExit = nullptr;
    QAction* MMUndo = nullptr;
    QAction* MMRedo = nullptr;
    QAction* MMWheelV = nullptr;
    QAction* MMRulerSmoothly = nullptr;
    QAction* MMShowHint = nullptr;
    QAction* MMPRotate = nullptr;
    QAction* MMClipCopySRC = nullptr;
    QAction* MMClipPasteSRC = nullptr;
    QAction* MMCopySrcToDest = nullptr;
    QAction* MMCopyDestToSrc = nullptr;
    QAction* MMMinSrc = nullptr;
    QAction* MMMinDest = nullptr;
    QAction* MMCropping = nullptr;
    QAction* MMScale = nullptr;
    QAction* MMToGray = nullptr;
    QAction* MMGistogramFull = nullptr;
    QAction* MMAutoCorr = nullptr;
    QAction* MMDFilter = nullptr;
    QAction* MMAbout = nullptr;
    QToolButton* TBRZoomForm = nullptr;
    // The worked arithmetic behind a clicked pixel; hidden until asked for.
    QDockWidget* DockExplain = nullptr;
    TExplainPanel* PanelExplain = nullptr;
    QAction* MMExplain = nullptr;
    QAction* MMCompare = nullptr;
    QAction* MMSamples = nullptr;  // the "Примеры" submenu
    QAction* MMLanguageRu = nullptr;
    QAction* MMLanguageEn = nullptr;
    QAction* MMHelp = nullptr;

public slots:
    void MMLoadToSrcClick();
    void MMLoadToDestClick();
    void MMSaveFromSrcClick();
    void MMSaveFromDestClick();
    void MMImportToSrcClick();
    void MMExportFromSrcClick();
    void MMExitClick();
    void MMUndoClick();
    void MMRedoClick();
    void MMRulerSmoothlyClick();
    void MMShowHintClick();
    void MMClipCopySRCClick();
    void MMClipPasteSRCClick();
    void MMCopySrcToDestClick();
    void MMCopyDestToSrcClick();
    void MMMinSrcClick();
    void MMMinDestClick();
    void MMScaleClick();
    void MMToGrayClick();
    void MMGistogramFullClick();
    void MMAutoCorrClick();
    void MMDFilterClick();
    void MMAboutClick();
    void MMPRotateClick();
    void MMCroppingClick();
    void TBRMirrorTDClick();
    void TBRMirrorLRClick();
    void TBRRot90MinusClick();
    void TBRRot90PlusClick();
    void TBRRunAngleClick();
    void TBRZoomPlusClick();
    void TrBarZoomChange();
    void sttxtZoomValueClick();
    void sttxtTBRotColorClick();
    void TimerAttentionTimer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBusy(bool busy) override;
    void repaintNow() override;

    void createControls();
    QWidget* createPages(QWidget* parent);
    QWidget* createStatusPanel(QWidget* parent);
    void createRotatePanel();
    void addTurnGroups(QWidget* bar);
    void addAngleGroups(QWidget* bar);
    void addZoomGroup(QWidget* bar);
    void createMenus();
    void createLearningMenus(QMenu* files);
    void chooseLanguage(TLanguage language);
    // F1 in each tool window opens its page; the help's sample links load here.
    void attachHelp();
    void assignKeys();
    void updateActions();
    int showModal(QDialog* window);
    // Shows a tool window modally; true when it reported writing the target.
    template <class TWindow> bool showWriter(TWindow* window);
    // Takes the dotted frame off the source picture before a command reads
    // or replaces it.
    void hideFrame();
    bool fragmentSelected();
    void clearImage(TImageWidget& image, TImgTabBGR& arr, int page);
    void FormCreate();
    void loadInto(TImageWidget& image, TImgTabBGR& arr, int page, const QString& fileName = QString());
    void saveFrom(TImageWidget& image, int page);
    // An error that ended a file command: its own box; the lamp goes out.
    void reportFileError(const QString& text);
    // Runs a load or save; an error that ends it is reported, and false comes back.
    bool fileCommand(const std::function<void()>& command);
    // After an operation wrote the target array: show it as a new picture.
    void showTarget();
    // After the histogram window closed: a target it wrote is a new picture.
    void afterGistogram(bool written);
    void selectionStart(TPoint p);
    void selectionMove(TPoint p);
    void selectionEnd(TPoint p);
    void showBoxColor(QLabel* box, TColor color);
    void showLamp(TColor color);
    TColor statusBarColor() const;

    // Makes one undo step of what a command does to an image (0 source, 1
    // target). Steps nest: only the outermost one counts.
    class TStep {
    public:
        TStep(TFormOrmica& window, int which);
        ~TStep();
        TStep(const TStep&) = delete;
        TStep& operator=(const TStep&) = delete;
        // A tool window's own word on whether it wrote the image.
        void decide(bool changed) { changed_ = changed; }

    private:
        TFormOrmica& window_;
        std::optional<bool> changed_;
        int which_ = 0;
        bool outermost_ = false;
        TOperationRecordPtr recordBefore_;
    };
    void createExplainDock();
    bool explaining() const;
    // Explains pixel (x, y) of the source (0) or target (1) in the panel.
    void explainAt(int which, int x, int y);
    // The pixel explained last, again: the picture may have changed.
    void explainAgain();
    struct TExplainedPixel {
        int which, x, y;
    };
    std::optional<TExplainedPixel> explained_;
    int currentImage() const;
    void moveInHistory(bool back);
    void showHistoryNote(const QString& text);
    void updateUndoActions();

    class TPanelText;
    TWorkspace& ws_;
    TFileDialogs* dialogs_;
    TColorQuestion* colors_;
    std::unique_ptr<TRegionSelector> selector_;
    TFragRect FragRect;
    int RRow = 0;
    int RCol = 0;
    TColor rotColor_ = clBtnFace;
    TFormScaleDialog* FormScaleDialog = nullptr;
    QDialog* ImportTxtDialog = nullptr;
    QDialog* ExportTxtDialog = nullptr;
    TFormDFilter* FormDFilter = nullptr;
    QDialog* FormAbout = nullptr;
    TFormGistogram* FormGistogram = nullptr;
    QDialog* FormMicroBase = nullptr;
    THelpWindow* HelpWindow = nullptr;
    class THintFilter;
    std::unique_ptr<THintFilter> hintFilter_;
    std::unique_ptr<TProgress> progress_;
    std::unique_ptr<TPanelText> panel3_;
    std::unique_ptr<TLoadSaveImage> loadSave_;
    std::unique_ptr<TUndoHistory> history_;
    int stepDepth_ = 0;
    QLabel* panels_[4] = {};
    TColor lampTag_ = clLime;
    TColor lampShown_ = 0;
    int busyDepth_ = 0;
};

}  // namespace ormica
