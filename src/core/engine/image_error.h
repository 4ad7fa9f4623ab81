#pragma once

#include <QString>
#include <stdexcept>

namespace ormica {

// A picture file that cannot be read or written. It ends the command that
// met it; the command's caller shows the text in an error box.
class TImageError : public std::runtime_error {
public:
    explicit TImageError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// Sides and sizes beyond these are refused before anything is allocated.
inline constexpr int kMaxPictureSide = 65536;
inline constexpr qint64 kMaxPictureBytes = qint64(1) << 30;  // as 24-bit pixels

inline bool PictureSizeAllowed(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height * 3 <= kMaxPictureBytes;
}

QString PictureTooLargeText(qint64 width, qint64 height);

}  // namespace ormica
