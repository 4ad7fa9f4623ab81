#pragma once

#include "core/scale/image_scale.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace ormica {

class TImageControl;

// The picture-size dialog: the new width and height in pixels or percent,
// with or without the proportions, the pixel count against the old one, and
// the run of the scaling engine.
class TFormScaleDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFormScaleDialog(QWidget* parent = nullptr);
    ~TFormScaleDialog() override;

    // The pair for the next showing: source scaled into target (possibly the
    // same control). Either may be null.
    void SetScaleImages(TImageControl* source, TImageControl* target);

    TImageScale& engine() { return engine_; }

    QLineEdit* EditSrcW = nullptr;
    QLineEdit* EditSrcH = nullptr;
    QLineEdit* EditTrgW = nullptr;
    QLineEdit* EditTrgH = nullptr;
    QComboBox* CbBoxTrgW = nullptr;
    QComboBox* CbBoxTrgH = nullptr;
    QCheckBox* ChkBoxProportional = nullptr;
    QLabel* ImageProportional = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QComboBox* CboBoxMhetod = nullptr;
    QPushButton* BitBtnRun = nullptr;
    QPushButton* BitBtnCancel = nullptr;
    QPushButton* BitBtnUnDo = nullptr;

public slots:
    void ResetScale();
    void BitBtnRunClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* createSizes();
    QLayout* createButtons();
    void connectControls();
    void FormShow();
    void ShowHeight();
    void ShowWidth();
    void ShowPixelCount();
    void ShowPixelCount(qint64 width, qint64 height);
    // One side's entry (width when `width`, else height) as it is typed: a
    // number the engine takes as it stands goes to it at once; one it would
    // correct ("3" on the way to "320") waits for the entry to be finished.
    void EditTrgChange(bool width);
    // Enter, leaving the entry or the run: a waiting number goes to the
    // engine, corrected with its warning. True when it was corrected.
    bool finishEntry(bool width);
    // The request in `engine` as the entry's text asks it.
    void applyEntry(TImageScale& engine, bool width, double value) const;
    // The other entry and the count as the typed number would give them uncorrected.
    void showPreview(bool width, double value);
    void showSide(bool width);
    void setPink(QLineEdit* edit, bool pink);
    bool& waiting(bool width) { return width ? waitingW_ : waitingH_; }

    TImageScale engine_;
    TImageControl* source_ = nullptr;
    TImageControl* target_ = nullptr;
    bool waitingW_ = false;
    bool waitingH_ = false;
};

}  // namespace ormica
