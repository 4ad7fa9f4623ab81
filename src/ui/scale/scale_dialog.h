#pragma once

#include "scale/image_scale.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
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

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ShowHeight();
    void ShowWidth();
    void ShowPixelCount();
    // One side's entry: width when `width`, else height.
    void EditTrgChange(bool width);
    void showSide(bool width);
    void setPink(QLineEdit* edit, bool pink);

    TImageScale engine_;
    TImageControl* source_ = nullptr;
    TImageControl* target_ = nullptr;
};

}  // namespace ormica
