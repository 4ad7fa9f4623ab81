#pragma once

#include "core/engine/color.h"
#include "core/histogram/histogram.h"

#include <QWidget>
#include <array>

class QButtonGroup;
class QFrame;
class QLabel;
class QToolButton;

namespace ormica {

class TFileDialogs;
class TImageWidget;
class TProgress;
struct TWorkspace;

// The tab "Гистограммы" of the histogram window: the red, green, blue and
// Light histograms of the source or the target image, the statistics of the
// whole picture, and the count of the level under the mouse.
class THistogramTab : public QWidget {
    Q_OBJECT
public:
    // The workspace and the progress bar must outlive the tab.
    THistogramTab(TWorkspace& workspace, TProgress& progress, QWidget* parent = nullptr);

    // The histogram images as before any computation.
    void ClearHistograms();
    // Presses that image's button, then computes and shows its histograms.
    void ShowSourceHistograms();
    void ShowTargetHistograms();
    // The dialogs the histograms' menus save their pictures and numbers
    // through; not owned. Null leaves the histograms without a menu.
    void setFileDialogs(TFileDialogs* dialogs);

    // The histograms and statistics shown.
    const TGistogramData& record() const { return Gistogram; }
    // The colour of the level lamp, as last painted.
    TColor levelLampColor() const { return lampColor_; }

signals:
    // The window's caption for the image just computed.
    void captionChanged(const QString& caption);
    // The record now describes the image shown.
    void refreshed(const TGistogramData& record);

private:
    // One channel's controls; channels go red, green, blue, Light.
    struct TChannelView {
        QFrame* panel = nullptr;
        TImageWidget* image = nullptr;  // the histogram
        TImageWidget* strip = nullptr;  // its level scale
        QToolButton* button = nullptr;  // shows its statistics
    };

    void createChannelPanel(int channel);
    void createStatisticsPanel();
    void createCountFields(QWidget* p);
    // The right edge the three statistics need.
    int createChannelStatistics(QWidget* p, int x);
    void fitStatisticsPanel(QLabel* title, int needW);
    void createImageButtons();

    void SpButGistSrcClick();
    void SpButGistTrgClick();
    void SpButtCnMDSClick();
    void refresh();
    void showRecord();
    void drawGistogram(TImageWidget* image, const TGistogram& heights);
    // X is the mouse position in the image.
    void levelReadOut(int channel, int x);
    void paintLamp(TColor color);

    TWorkspace& ws_;
    TProgress& progress_;
    TGistogramData Gistogram;
    // Set just before each computation; the level read-out waits for it.
    const TGistogramData* CurGistogram = nullptr;
    // The histogram images show the record, not the cleared face.
    bool recordShown_ = false;

    std::array<TChannelView, 4> channels_;
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
    QToolButton* SpButGistSrc = nullptr;
    QToolButton* SpButGistTrg = nullptr;
    QButtonGroup* imageButtons_ = nullptr;
    QButtonGroup* channelButtons_ = nullptr;
    TColor lampColor_ = 0;
};

}  // namespace ormica
