#pragma once

#include "core/engine/color.h"
#include "core/engine/img_tab.h"
#include "core/engine/rect.h"
#include "core/histogram/fragment_stats.h"
#include "core/histogram/histogram.h"
#include "core/transfer/point_list.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QToolButton;

namespace ormica {

class TCrossHairSelector;
class TFileDialogs;
class TGraphXY;
class TImageWidget;
class TPointEditor;
class TProgressBarAdapter;
class TUpDown;
struct TWorkspace;

// The general floating format of the read-outs: up to 15 significant digits,
// fixed unless below 0.00001 or beyond 15 integer digits, no trailing zeros,
// the locale's decimal separator.
QString FormatGeneral(long double value);

// The histogram window: the red, green, blue and Light histograms of the
// source or the target image with their statistics, the transfer-function
// tab and the fragment tab. The images are the workspace's.
class TFormGistogram : public QDialog {
    Q_OBJECT
public:
    // The workspace must outlive the window.
    explicit TFormGistogram(TWorkspace& workspace, QWidget* parent = nullptr);
    ~TFormGistogram() override;

    // How the next showing opens: 1 histograms only, 2 histograms and fragment.
    std::uint8_t GistogramMode = 0;
    // The histograms and statistics shown.
    TGistogramData Gistogram;
    // Set just before each computation; the level read-out waits for it.
    const TGistogramData* CurGistogram = nullptr;
    // The fragment of the source image that the main window hands over.
    TImgTabColor FragArr;
    // Takes the part `rect` of the source picture as the fragment, cut to what
    // the fragment image can show, and draws it there; the part taken.
    TRect TakeFragment(const QImage& picture, TRect rect);
    // Draws FragArr at the fragment image's top-left corner, under the cross.
    void ShowFragment();
    // Lets the fragment go once the window has been shown with it.
    void ReleaseFragment() { FragArr.clear(); }

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    QFrame* PanelGistR = nullptr;
    QFrame* PanelGistG = nullptr;
    QFrame* PanelGistB = nullptr;
    QFrame* PanelGistLight = nullptr;
    TImageWidget* ImageGistR = nullptr;
    TImageWidget* ImageGistG = nullptr;
    TImageWidget* ImageGistB = nullptr;
    TImageWidget* ImageGistLight = nullptr;
    TImageWidget* ImageGRed = nullptr;
    TImageWidget* ImageGGreen = nullptr;
    TImageWidget* ImageGBlue = nullptr;
    TImageWidget* ImageGLight = nullptr;

    QFrame* PanelMDS = nullptr;
    QLabel* stTextNumAll = nullptr;
    QLabel* StTextNumBlack = nullptr;
    QLabel* StTextNumBlackPr = nullptr;
    QLabel* StTextNumWhite = nullptr;
    QLabel* StTextNumWhitePr = nullptr;
    QLabel* stTextNameChannel = nullptr;
    QLabel* stTextLLmp = nullptr;
    QLabel* stTextLLevel = nullptr;
    QLabel* stTextNumSP = nullptr;
    QLabel* StTextMM = nullptr;
    QLabel* StTextMD = nullptr;
    QLabel* StTextMS = nullptr;
    QToolButton* SpButtCnR = nullptr;
    QToolButton* SpButtCnG = nullptr;
    QToolButton* SpButtCnB = nullptr;
    QToolButton* SpButtCnL = nullptr;
    QToolButton* SpButGistSrc = nullptr;
    QToolButton* SpButGistTrg = nullptr;

    // The transfer-function tab.
    QFrame* PanelConv = nullptr;
    TImageWidget* ImageLTrg = nullptr;
    TImageWidget* ImageConv = nullptr;
    TImageWidget* ImageLSrc = nullptr;
    QPlainTextEdit* MemoRep = nullptr;
    QToolButton* TB1New = nullptr;
    QToolButton* TB1Neg = nullptr;
    QToolButton* TB1Run = nullptr;
    QToolButton* TB1Load = nullptr;
    QToolButton* TB1LoadFromFile = nullptr;
    QToolButton* TB1Save = nullptr;
    QToolButton* TB1SaveToFile = nullptr;
    QTabWidget* PageControlGen = nullptr;
    QComboBox* cbBoxFuncFormula = nullptr;
    QLineEdit* EdXB = nullptr;
    QLineEdit* EdXE = nullptr;
    TUpDown* UpDownX = nullptr;
    QComboBox* cbBoxMaxXNumb = nullptr;
    QComboBox* cbBoxFuncType = nullptr;
    QLineEdit* EdLGrate = nullptr;
    TUpDown* UpDnLGrate = nullptr;
    QComboBox* cbBoxSectionNumb = nullptr;

    // The function as last read from the editor or made by the formula generator.
    TBrightPointArray FuncPoints;
    // The temporary save slot; it lives as long as the program.
    TBrightPointArray SavedPoints;
    int FormulaPointCount = 16;
    long double FormulaXE = 1;

    TPointEditor* editor() const { return editor_.get(); }
    // The folder the function dialogs start in.
    const QString& functionDir() const { return functionDir_; }
    // The open and save dialogs of function files; not owned.
    void setFileDialogs(TFileDialogs* dialogs) { dialogs_ = dialogs; }

    // The fragment tab.
    QFrame* PanelAcImg = nullptr;
    TImageWidget* ImgAcFrg = nullptr;
    QFrame* Panel2 = nullptr;
    QTabWidget* PageControlAc = nullptr;
    QFrame* PanelSrcFun1 = nullptr;
    QFrame* PanelAcFunc = nullptr;
    QFrame* PanelFun3 = nullptr;
    QLabel* StTextChoiceLamp = nullptr;
    QLabel* StTextChoiceStat = nullptr;
    QLabel* StTextSelRow = nullptr;
    QLabel* StTextSelCol = nullptr;
    QLabel* StTextAcIW = nullptr;
    QLabel* StTextAcIH = nullptr;
    QLabel* StTextAcINumPnt = nullptr;
    QToolButton* SpButtChoiceR = nullptr;
    QToolButton* SpButtChoiceG = nullptr;
    QToolButton* SpButtChoiceB = nullptr;
    QToolButton* SpButtChoiceL = nullptr;
    QToolButton* SpButtAcCol = nullptr;
    QToolButton* SpButtAcRow = nullptr;
    QToolButton* SpButtRunAcMD = nullptr;
    QLabel* StTextME = nullptr;
    QLabel* StTextDE = nullptr;
    QComboBox* CmbBoxAcCnvl = nullptr;
    QToolButton* SpButtRunAcCnvl = nullptr;
    QLabel* StTextFragME = nullptr;
    QLabel* StTextFragDE = nullptr;
    QLabel* StTextFragChanel = nullptr;
    QLabel* StTextFragDivSrc = nullptr;
    QLabel* StTextLightLevel = nullptr;
    QComboBox* CmbBoxFun3 = nullptr;
    QLabel* StTextFun1 = nullptr;
    QLabel* StTextFun2 = nullptr;
    QLabel* StTextFun3 = nullptr;

    // The sample of the fragment and everything computed from it.
    TAcExtract AcExtract;

    // Plot 1 (the centred sample), 2 (correlation) and 3 (Func(X)).
    TGraphXY* graphSrc() const { return graphSrc_.get(); }
    TGraphXY* graphAc() const { return graphAc_.get(); }
    TGraphXY* graphFun() const { return graphFun_.get(); }
    // The colours of the choice lamp and of the whole-fragment lamp, as last painted.
    TColor choiceLampColor() const { return choiceLampColor_; }
    TColor fragLampColor() const { return fragLampColor_; }

    void ClearAcResults();
    void ResetAcState();
    void ShowFragmentStatistics();
    void ResetFragmentStatistics();

    // The cross-hair on the fragment image; it also bounds the fragment.
    TCrossHairSelector* crossHair() const { return crossHair_.get(); }

    // The colour of the level lamp, as last painted.
    TColor levelLampColor() const { return lampColor_; }

signals:
    // The transfer-function run has written the target array and image.
    void targetWritten();

public slots:
    void SpButGistSrcClick();
    void SpButGistTrgClick();
    void SpButtCnMDSClick();

    void TB1NewClick();
    void TB1NegClick();
    void TB1RunClick();
    void TB1LoadClick();
    void TB1LoadFromFileClick();
    void TB1SaveClick();
    void TB1SaveToFileClick();
    void cbBoxFuncFormulaClick();
    void UpDownXClick();
    void cbBoxMaxXNumbClick();
    void cbBoxFuncTypeClick();
    void UpDnLGrateClick();
    void cbBoxSectionNumbClick();

    void SpButtChoiceChannelClick();
    void SpButtAcRowColClick();
    void SpButtRunAcMDClick();
    void SpButtRunAcCnvlClick();
    void CmbBoxFun3Click();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void createStatsControls();
    void createStatsPanel2(QWidget* p);
    void createFragmentPages();
    void createStatsPlots();
    void showFragmentSize();
    void drawConvFunc();
    void paintChoiceLamp(TColor color);
    void paintFragLamp(TColor color);
    // The point read-out of one plot over its array, X the mouse column.
    void pointReadOut(TGraphXY* graph, const TGraphArr& points, QLabel* readOut, const QString& formatY, int x);
    void createHistogramTab();
    void createStatisticsPanel();
    void createFragmentTab();
    void createTransferTab();
    void createTransferTools(QWidget* parent, QPoint at);
    void createGenerators(QWidget* parent, QRect geometry);
    void ShowFuncReport(const QString& title);
    void EditorChanged(TEditAction action);
    void showReport(const TBrightPointArray& points);
    void GenerateFormulaPoints(int kind);
    void GenerateSpecialPoints();
    void refresh();
    void showRecord();
    void drawGistogram(TImageWidget* image, const TGistogram& heights);
    // X is the mouse position in the image; channel 0..3 is red, green, blue, Light.
    void levelReadOut(int channel, int x);
    void paintLamp(TColor color);
    TColor panelColor() const;

    TWorkspace& ws_;
    std::unique_ptr<TProgressBarAdapter> progress_;
    std::unique_ptr<TCrossHairSelector> crossHair_;
    std::unique_ptr<TPointEditor> editor_;
    std::unique_ptr<TGraphXY> graphSrc_;
    std::unique_ptr<TGraphXY> graphAc_;
    std::unique_ptr<TGraphXY> graphFun_;
    QButtonGroup* acChannelButtons_ = nullptr;
    QButtonGroup* acRowColButtons_ = nullptr;
    TColor choiceLampColor_ = 0;
    TColor fragLampColor_ = 0;
    TFileDialogs* dialogs_ = nullptr;
    QString functionDir_;
    QButtonGroup* imageButtons_ = nullptr;
    QButtonGroup* channelButtons_ = nullptr;
    TColor lampColor_ = 0;
};

}  // namespace ormica
