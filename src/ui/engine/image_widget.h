#pragma once

#include "engine/image_control.h"

#include <QWidget>

namespace ormica {

// The image control of the windows: shows its picture unscaled at its
// top-left corner and sizes itself to it.
class TImageWidget : public QWidget, public TImageControl {
    Q_OBJECT
public:
    TImageWidget(QSize designSize, QWidget* parent = nullptr);
    void repaintNow() override;
    QSize sizeHint() const override;

protected:
    void onPictureChanged() override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ormica
