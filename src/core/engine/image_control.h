#pragma once

#include "core/engine/image_desc.h"

#include <QImage>
#include <QSize>
#include <optional>

namespace ormica {

// An image control as the core sees it: a picture (the bitmap), the control's
// size, and the description of where the picture came from. The control sizes
// itself to a non-empty picture; with none it keeps its last size. The window
// widget derives from it to show the picture; the command-line tool and the
// tests use it as it is.
class TImageControl {
public:
    explicit TImageControl(QSize designSize = QSize(0, 0)) : size_(designSize) {}
    virtual ~TImageControl() = default;
    TImageControl(const TImageControl&) = delete;
    TImageControl& operator=(const TImageControl&) = delete;

    const QImage& picture() const { return picture_; }
    // Write access to the bitmap; call pictureChanged() when done.
    QImage& canvas() { return picture_; }
    void setPicture(const QImage& image)
    {
        picture_ = image;
        pictureChanged();
    }
    void pictureChanged()
    {
        if (!picture_.isNull())
            size_ = picture_.size();
        onPictureChanged();
    }

    int width() const { return size_.width(); }
    int height() const { return size_.height(); }

    // Shows the picture now, before a long computation blocks the window.
    virtual void repaintNow() {}

    TImageDesc* imageDesc() { return desc_ ? &*desc_ : nullptr; }
    const TImageDesc* imageDesc() const { return desc_ ? &*desc_ : nullptr; }
    TImageDesc& ensureImageDesc()
    {
        if (!desc_)
            desc_.emplace();
        return *desc_;
    }

protected:
    virtual void onPictureChanged() {}

private:
    QImage picture_;
    QSize size_;
    std::optional<TImageDesc> desc_;
};

}  // namespace ormica
