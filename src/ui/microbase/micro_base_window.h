#pragma once

#include "core/microbase/filter_rec.h"

#include <QDialog>
#include <memory>
#include <optional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPlainTextEdit;
class QTableWidget;
class QToolButton;

namespace ormica {

class TFileDialogs;
class TKernelGridEditor;
class TMicroBase;
struct TWorkspace;

// The filter database window: the filters of a base listed by name, working
// or deleted ones, all or of one type; the selected one in editing fields;
// records added, updated, deleted and restored; bases made, opened and
// copied; one filter at a time taken from the workspace's working filter or
// handed to the filter window.
class TFormMicroBase : public QDialog {
    Q_OBJECT
public:
    // The workspace gives the program's folder, the base names and the
    // working filter, and must outlive the window; dialogs answers the
    // base-file dialogs (not owned).
    TFormMicroBase(TWorkspace& workspace, TFileDialogs* dialogs, QWidget* parent = nullptr);
    ~TFormMicroBase() override;

    // Shows the window modally for the filter window; the filter handed over
    // by the export command, if any.
    std::optional<TFilterData> ExchangeFilter();

    // The record in the editing fields; nothing reaches the file until a
    // record command writes it.
    TFilterRec EditedRec;

    TMicroBase* engine() const { return engine_.get(); }
    TKernelGridEditor* gridEditor() const { return gridEditor_; }
    // True while the edited record has changes not written to the file.
    bool changeMarked() const { return changed_; }

    QMenuBar* MainMenu = nullptr;
    QAction* MMNewDB = nullptr;
    QAction* MMOpenDB = nullptr;
    QAction* MMSaveDB = nullptr;
    QAction* MMClose = nullptr;
    QToolButton* TB1NewDB = nullptr;
    QToolButton* TB1OpenDB = nullptr;
    QToolButton* TB1SaveDB = nullptr;
    QToolButton* sbtnStatMain = nullptr;
    QToolButton* sbtnStatRestore = nullptr;
    QToolButton* sbtnRecRestore = nullptr;
    QFrame* PanelCtrlRec = nullptr;
    QWidget* ToolBarAccessREC = nullptr;
    QToolButton* TB2RecAdd = nullptr;
    QToolButton* TB2RecRefresh = nullptr;
    QToolButton* TB2RecDelete = nullptr;
    QToolButton* TB3Scale = nullptr;
    QToolButton* TB3Clean = nullptr;
    QToolButton* TB3Random = nullptr;
    QToolButton* sbtnImport = nullptr;
    QToolButton* sbtnExport = nullptr;
    QListWidget* LBoxSelector = nullptr;
    QComboBox* CbBoxRqFilterType = nullptr;
    QCheckBox* CheckBoxSorted = nullptr;
    QLineEdit* EditFilterName = nullptr;
    QTableWidget* SGridEd = nullptr;
    QLineEdit* EditScale = nullptr;
    QComboBox* CBoxFilterType = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* stxtChangeID = nullptr;
    QLabel* STextOpenID = nullptr;
    QLabel* LbOpenID = nullptr;
    QLabel* STextStat = nullptr;
    QLabel* STextRecIndx = nullptr;
    QLineEdit* EdNumRec = nullptr;

    void OpenBase(const QString& name);
    void FillList(std::uint8_t status, int typeIndex);
    void RefreshList();
    void ShowSelected();
    void ShowRecord();
    void EmptyTemplate();

signals:
    // The export command hands the edited filter to the filter window.
    void filterExported(const TFilterData& filter);

public slots:
    void NewBaseClick();
    void OpenBaseClick();
    void SaveBaseClick();
    void sbtnStatMainClick();
    void sbtnStatRestoreClick();
    void sbtnRecRestoreClick();
    void TB2RecAddClick();
    void TB2RecRefreshClick();
    void TB2RecDeleteClick();
    void TB3ScaleClick();
    void TB3CleanClick();
    void TB3RandomClick();
    void sbtnImportClick();
    void sbtnExportClick();

private:
    void FormCreate();
    void createMenu();
    QLayout* createToolBar();
    QWidget* createSelector();
    QWidget* createEditor();
    QLayout* createFieldSide(QWidget* panel);
    QWidget* createRecordPanel(QWidget* panel);
    QLayout* createExchange(QWidget* panel);
    void connectEditor();
    bool TakeTexts();
    bool WriteRecord(std::int32_t k, std::uint8_t status);
    void setChanged(bool changed);
    void paintLabel(QLabel* label, const QColor& color);
    void EditFilterNameChange();
    void EditScaleChange();
    void Memo1Change();
    // The position in the file of the selected item's record, or -1.
    std::int32_t selectedPosition() const;
    // The record's position, and the number it stores when that differs.
    void showIndex(std::int32_t position, std::int32_t stored);

    TWorkspace& ws_;
    TFileDialogs* dialogs_;
    std::unique_ptr<TMicroBase> engine_;
    TKernelGridEditor* gridEditor_ = nullptr;
    QButtonGroup* statButtons_ = nullptr;
    bool changed_ = false;
    QString lastName_;
    QString lastMemo_;
};

}  // namespace ormica
