#pragma once

#include "core/engine/color.h"
#include "core/engine/img_tab.h"
#include "core/engine/rect.h"
#include "core/histogram/fragment_stats.h"
#include "core/histogram/histogram.h"

#include <QString>
#include <QWidget>
#include <memory>

class QButtonGroup;
class QComboBox;
class QFrame;
class QGroupBox;
class QImage;
class QLabel;
class QTabWidget;
class QToolButton;

namespace ormica {

class TCrossHairSelector;
class TFileDialogs;
class TGraphXY;
class TImageWidget;
class TMagnifier;
struct TWorkspace;

// The tab "Дополнительная статистика" of the histogram window: a fragment of
// the source picture, a row or column of it picked with the cross-hair as a
// sample of one channel, the sample's mean, variance, autocorrelation or
// convolution with a fixed function, and the statistics of the whole fragment.
class TFragmentTab : public QWidget {
    Q_OBJECT
public:
    // The workspace and the fragment (the window's) must outlive the tab.
    TFragmentTab(TWorkspace& workspace, TImgTabColor& fragment, QWidget* parent = nullptr);
    ~TFragmentTab() override;

    // Takes the part `rect` of the source picture as the fragment, cut to what
    // the fragment image can show, and draws it there; the part taken.
    TRect TakeFragment(const QImage& picture, TRect rect);
    // Draws the fragment at the fragment image's top-left corner, under the cross.
    void ShowFragment();
    // At each showing: the choice boxes start over, the sizes are the fragment's.
    void PrepareShowing();
    // At each closing: no point, no fragment, no sample.
    void ResetAcState();
    // The whole fragment's statistics, and its ratios to the source picture
    // when the histograms describe that picture.
    void ShowFragmentStatistics(const TGistogramData& histograms);
    // The dialogs the plots' menus save their pictures and numbers through;
    // not owned. Null leaves the plots without a menu.
    void setFileDialogs(TFileDialogs* dialogs);

    // The sample of the fragment and everything computed from it.
    const TAcExtract& acExtract() const { return AcExtract; }
    // Plot 1 (the centred sample), 2 (correlation) and 3 (Func(X)).
    TGraphXY* graphSrc() const { return graphSrc_.get(); }
    TGraphXY* graphAc() const { return graphAc_.get(); }
    TGraphXY* graphFun() const { return graphFun_.get(); }
    // The colours of the choice lamp and of the whole-fragment lamp, as last painted.
    TColor choiceLampColor() const { return choiceLampColor_; }
    TColor fragLampColor() const { return fragLampColor_; }
    // The cross-hair on the fragment image; it also bounds the fragment.
    TCrossHairSelector* crossHair() const { return crossHair_.get(); }

private:
    void createPanels();
    void createCrossHair();
    void createStatsPanel2();
    // The point's status and coordinates, and the fragment's size; the group.
    QGroupBox* createChoiceFields(QWidget* p);
    void createSampleButtons(QWidget* p, int x0);
    void createRunControls(QWidget* p, int x0);
    void createFragmentPages();
    void createStatsPlots();
    void createPlotReadOuts();

    void SpButtChoiceChannelClick();
    void SpButtAcRowColClick();
    void SpButtRunAcMDClick();
    void SpButtRunAcCnvlClick();
    void CmbBoxFun3Click();

    void ClearAcResults();
    void ResetFragmentStatistics();
    void showFragmentSize();
    void drawConvFunc();
    void paintChoiceLamp(TColor color);
    void paintFragLamp(TColor color);
    // The point read-out of one plot over its array, X the mouse column.
    void pointReadOut(TGraphXY* graph, const TGraphArr& points, QLabel* readOut, const QString& formatY, int x);

    TWorkspace& ws_;
    TImgTabColor& FragArr;
    TAcExtract AcExtract;
    std::unique_ptr<TGraphXY> graphSrc_;
    std::unique_ptr<TGraphXY> graphAc_;
    std::unique_ptr<TGraphXY> graphFun_;
    std::unique_ptr<TCrossHairSelector> crossHair_;
    QButtonGroup* acChannelButtons_ = nullptr;
    QButtonGroup* acRowColButtons_ = nullptr;
    TColor choiceLampColor_ = 0;
    TColor fragLampColor_ = 0;

    QFrame* PanelAcImg = nullptr;
    // The fragment's picture, with the cross drawn in; the magnifier shows it.
    TImageWidget* ImgAcFrg = nullptr;
    TMagnifier* MagAcFrg = nullptr;
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
};

}  // namespace ormica
