#pragma once

#include "core/engine/load_save_image.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace ormica {

class TProgressBarAdapter;

// What the two text image dialogs share: the separator options with the
// edit for another sign, a progress bar, OK and Cancel. OK does the
// dialog's work, then closes it; the options stay as the user left them.
class TTextImageDialog : public QDialog {
    Q_OBJECT
public:
    ~TTextImageDialog() override;

    QLabel* LabelInfo = nullptr;
    QLabel* LabelTitle = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioTab = nullptr;
    QRadioButton* RadioSemicolon = nullptr;
    QRadioButton* RadioOther = nullptr;
    QLineEdit* EditSep = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // The checked option (0 tab, 1 ";", 2 the other sign), -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The separator the options give (empty for none).
    QString Separator() const;

    void OKBtnClick();
    void CancelBtnClick();

    // The filter of the file dialogs.
    static const QStringList& TxtFilters();

protected:
    TTextImageDialog(TFileDialogs* dialogs, const QString& caption, const QString& title, const QString& info,
                     QWidget* parent);
    // The dialog's own work, run by OK.
    virtual void Run() = 0;

    TFileDialogs* dialogs_;
    std::unique_ptr<TProgressBarAdapter> progress_;

private:
    QButtonGroup* items_ = nullptr;
};

}  // namespace ormica
