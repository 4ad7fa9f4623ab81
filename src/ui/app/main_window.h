#pragma once

#include "engine/color.h"
#include "engine/load_save_image.h"
#include "engine/progress.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace ormica {

class TImageWidget;
class TImgTabBGR;

// The main window: the source and target images on two tabs, the commands,
// the status bar with its attention lamp.
class TFormOrmica : public QMainWindow, private TOwnerForm {
    Q_OBJECT
public:
    // dialogs answers the open and save questions; it must outlive the window.
    explicit TFormOrmica(TFileDialogs* dialogs, QWidget* parent = nullptr);
    ~TFormOrmica() override;

    static const QString kCaption;

    void ResetIndicators();
    void ShowPage(int page);
    void MarkNoName(TImageControl& image);
    void SetAttention(bool on, TColor color, const QString& text);

    TLoadSaveImage* loadSaveService() const { return loadSave_.get(); }
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
    QTimer* TimerAttention = nullptr;

    QAction* MMLoadToSrc = nullptr;
    QAction* MMLoadToDest = nullptr;
    QAction* MMSaveFromSrc = nullptr;
    QAction* MMSaveFromDest = nullptr;
    QAction* MMExit = nullptr;

public slots:
    void MMLoadToSrcClick();
    void MMLoadToDestClick();
    void MMSaveFromSrcClick();
    void MMSaveFromDestClick();
    void MMExitClick();
    void TimerAttentionTimer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setBusy(bool busy) override;
    void repaintNow() override;

    void createControls();
    void createMenus();
    void FormCreate();
    void loadInto(TImageWidget& image, TImgTabBGR& arr, int page);
    void saveFrom(TImageWidget& image, int page);
    // An error that ended a file command: its own box; the lamp goes out.
    void reportFileError(const QString& text);
    void showLamp(TColor color);
    TColor statusBarColor() const;

    class TPanelText;
    TFileDialogs* dialogs_;
    std::unique_ptr<TProgress> progress_;
    std::unique_ptr<TPanelText> panel3_;
    std::unique_ptr<TLoadSaveImage> loadSave_;
    QLabel* panels_[4] = {};
    TColor lampTag_ = clLime;
    TColor lampShown_ = 0;
    int busyDepth_ = 0;
};

}  // namespace ormica
