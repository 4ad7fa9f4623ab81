#pragma once

#include "core/transfer/point_list.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;

namespace ormica {

class TFileDialogs;
class TImageWidget;
class TPointEditor;
class TProgress;
class TUpDown;
struct TWorkspace;

// The tab "Функции преобразования" of the histogram window: the point
// editor of a brightness transfer function with its ramps, the report of its
// points, the tools that make, keep and apply it, and the generators.
class TTransferTab : public QWidget {
    Q_OBJECT
public:
    // The workspace and the progress bar must outlive the tab.
    TTransferTab(TWorkspace& workspace, TProgress& progress, QWidget* parent = nullptr);
    ~TTransferTab() override;

    TPointEditor* editor() const { return editor_.get(); }
    // The function as last read from the editor or made by the formula generator.
    const TBrightPointArray& funcPoints() const { return FuncPoints; }
    int formulaPointCount() const { return FormulaPointCount; }
    long double formulaXE() const { return FormulaXE; }
    // The folder the function dialogs start in.
    const QString& functionDir() const { return functionDir_; }
    // The open and save dialogs of function files; not owned.
    void setFileDialogs(TFileDialogs* dialogs) { dialogs_ = dialogs; }
    // The Light counts the run would give the target, as the strip under the
    // editor shows them; exact, or scaled up from a sample while a point is dragged.
    const std::array<std::int32_t, 256>& predictedTarget() const { return predicted_; }
    bool predictionExact() const { return predictionExact_; }

signals:
    // The run has written the target array and image.
    void targetWritten();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createEditorPanel();
    void createPrediction();
    void refreshSource();
    void predictTarget(const TBrightPointArray& points, bool dragging);
    void drawPrediction();
    void createTransferTools(QPoint at);
    void createGenerators(QRect geometry);
    void createSmoothPage(QWidget* page, int width);
    void createSpecialPage(QWidget* page, int width);
    void setStartingValues();

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

    void ShowFuncReport(const QString& title);
    void EditorChanged(TEditAction action);
    void showReport(const TBrightPointArray& points);
    void GenerateFormulaPoints(int kind);
    void GenerateSpecialPoints();

    TWorkspace& ws_;
    TProgress& progress_;
    std::unique_ptr<TPointEditor> editor_;
    TFileDialogs* dialogs_ = nullptr;
    // Reaches dialogs_ for the plot menus, which are made before it is set.
    std::unique_ptr<TFileDialogs> plotDialogs_;
    // The source is read again when the window next opens.
    bool sourceStale_ = true;
    std::array<std::int32_t, 256> sourceLight_{};
    std::array<std::int32_t, 256> predicted_{};
    bool predictionExact_ = false;
    TBrightPointArray predictedFor_;
    QString functionDir_;
    TBrightPointArray FuncPoints;
    // The temporary save slot; it lives as long as the program.
    TBrightPointArray SavedPoints;
    int FormulaPointCount = 16;
    long double FormulaXE = 1;

    QFrame* PanelConv = nullptr;
    TImageWidget* ImageLTrg = nullptr;
    TImageWidget* ImageConv = nullptr;
    TImageWidget* ImageLSrc = nullptr;
    TImageWidget* ImageTrgGist = nullptr;
    QLabel* LabelTrgGistMode = nullptr;
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
};

}  // namespace ormica
