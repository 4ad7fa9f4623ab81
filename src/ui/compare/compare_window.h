#pragma once

#include "core/histogram/image_compare.h"

#include <QDialog>
#include <QImage>
#include <memory>

class QComboBox;
class QPushButton;
class QTableWidget;

namespace ormica {

class TMagnifier;
struct TWorkspace;

// The source and the target picture compared: the difference picture,
// amplified, for one channel or all three, and the numbers of each channel.
// It shows the two pictures as they were when it was made.
class TFormCompare : public QDialog {
    Q_OBJECT
public:
    // The window for the workspace's source and target; none, after a warning
    // through the message sink, when they cannot be compared.
    static std::unique_ptr<TFormCompare> Create(TWorkspace& ws, QWidget* parent = nullptr);

    const TImageComparison& numbers() const { return numbers_; }

    QComboBox* CBoxGain = nullptr;
    QComboBox* CBoxChannel = nullptr;
    TMagnifier* ImgDiff = nullptr;
    QTableWidget* SGridNumbers = nullptr;
    QPushButton* BitBtnClose = nullptr;

private:
    TFormCompare(const QImage& source, const QImage& target, const TImageComparison& numbers, QWidget* parent);
    void fillNumbers();
    void ShowDifference();

    QImage source_, target_;
    TImageComparison numbers_;
};

}  // namespace ormica
