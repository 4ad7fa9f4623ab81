#pragma once

#include "core/engine/image_control.h"
#include "core/engine/image_desc.h"
#include "core/engine/plugin_picture.h"
#include "core/engine/progress.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace ormica {

// A file chosen in a picture dialog, with the 1-based index of the filter
// the user had selected (1 JPEG, 2 BMP, then the plugin kinds in order, then
// all pictures).
struct TFileChoice {
    QString fileName;
    int filterIndex = 1;
};

// The open and save dialogs; the windows show real ones, tests answer them.
class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    virtual std::optional<TFileChoice> askOpen(const QString& initialDir, const QStringList& filters,
                                               int filterIndex) = 0;
    virtual std::optional<TFileChoice> askSave(const QString& initialDir, const QStringList& filters,
                                               int filterIndex) = 0;
};

// A status-bar panel for outcome texts.
class TTextPanel {
public:
    virtual ~TTextPanel() = default;
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
};

// A panel with nowhere to show its text, for callers without a window.
class TStoredTextPanel : public TTextPanel {
public:
    void setText(const QString& text) override { text_ = text; }
    QString text() const override { return text_; }

private:
    QString text_;
};

// The window that shows the busy cursor while a file is read or written.
class TOwnerForm {
public:
    virtual ~TOwnerForm() = default;
    virtual void setBusy(bool busy) = 0;
    virtual void repaintNow() = 0;
};

bool IsAcceptedFormat(std::uint8_t pixelFormat);
QString PixelFormatName(std::uint8_t pixelFormat);
// The code a picture of this QImage format is recorded with.
TPixelFormat PixelFormatOf(const QImage& image);
TPixelFormat PixelFormatOf(QImage::Format format);

// Loads and saves pictures of the image controls, and moves them through the
// clipboard. Outcome texts go to the panel. A file that cannot be read or
// written throws TImageError out of LoadImage, LoadJpeg, LoadBmp, SaveImage
// and SaveJpeg; the command that called them ends with an error box. A
// refused load or paste leaves the control and its description as they were.
class TLoadSaveImage {
public:
    TLoadSaveImage(TProgress* progress, TTextPanel* panel, TFileDialogs* dialogs);

    QString LastDir;
    TOwnerForm* OwnerForm = nullptr;
    TProgress* Progress = nullptr;
    TTextPanel* Panel = nullptr;
    std::uint8_t JpegQuality = 100;
    bool JpegProgressive = false;

    bool LoadImage(TImageControl& image);
    // Loads a named file as LoadImage would after its dialog: JPEG for a
    // ".jpg" or ".jpeg" name, a plugin kind for its extension, BMP otherwise.
    bool LoadFile(const QString& fileName, TImageControl& image);
    bool SaveImage(TImageControl& image);
    bool LoadJpeg(const QString& fileName, TImageControl& image);
    bool LoadBmp(const QString& fileName, TImageControl& image);
    bool SaveJpeg(const QString& fileName, TImageControl& image);
    bool SaveBmp(const QString& fileName, TImageControl& image);
    // PNG, TIFF and WebP; the outcome texts name the kind. WebP is written
    // with JpegQuality (100, lossless, unless set).
    bool LoadPlugin(const QString& fileName, const TPluginFormat& format, TImageControl& image);
    bool SavePlugin(const QString& fileName, const TPluginFormat& format, TImageControl& image);
    void SetImageDesc(TImageControl& image, const QString& fileName, std::uint8_t sourceKind, std::uint8_t pixelFormat);
    bool CopyToClipboard(TImageControl& image);
    bool PasteFromClipboard(TImageControl& image);

    static QStringList Filters();
    // The name a save under this filter writes: the JPEG filter adds ".jpg"
    // unless the name ends in .jpg or .jpeg; the BMP filter adds ".bmp"
    // unless it ends in .bmp; a plugin kind's filter adds its first extension
    // unless the name already ends in an extension of a kind we write, which
    // then decides the kind (letter case ignored). Empty for an index
    // without a filter.
    static QString SaveFileName(const QString& chosen, int filterIndex);
    // The last filter, "Все изображения": any kind by its extension; a name
    // without one is read as a bitmap and written as PNG.
    static int AllPicturesFilterIndex();
    // The filter index of the kind a dialog's choice is read or written as;
    // 0 for none.
    static int KindOfChoice(const QString& fileName, int filterIndex);
    // The filter index of the kind a name's extension stands for (1 JPEG,
    // 2 BMP, 3... the plugin kinds), or 0.
    static int FilterIndexOfName(const QString& fileName);
    // The plugin kind of a filter index, or nothing for JPEG, BMP and beyond.
    static const TPluginFormat* PluginFormatOfFilter(int filterIndex);
    static QString LoadedText(const TPluginFormat& format);
    static QString SavedText(const TPluginFormat& format);

    // Marked for the context "LoadSaveImage": translated where they are shown.
    static constexpr const char* kLoaded =
        QT_TRANSLATE_NOOP("LoadSaveImage", " Загрузка изображения успешно завершена");
    static constexpr const char* kSaved =
        QT_TRANSLATE_NOOP("LoadSaveImage", " Сохранеие изображения успешно завершено");
    static constexpr const char* kSetFormatFailed =
        QT_TRANSLATE_NOOP("LoadSaveImage", " ОШИБКА установки формата pf24bit!");
    static constexpr const char* kWriteFailed = QT_TRANSLATE_NOOP("LoadSaveImage", " ОШИБКА при сохранении файла");
    static constexpr const char* kPasted =
        QT_TRANSLATE_NOOP("LoadSaveImage", " Выполнена вставка изображения из Clipboard");
    static constexpr const char* kNoClipboardBitmap =
        QT_TRANSLATE_NOOP("LoadSaveImage", " Вставка ОТМЕНЕНА! Формат изображения в Clipboard НЕ BitMap");
    static constexpr const char* kOverwrite =
        QT_TRANSLATE_NOOP("LoadSaveImage", "Указанный Файл уже существует.Заменить его на новый?");

private:
    // Loads as the filter of this index would; false for none.
    bool loadAs(int kind, const QString& fileName, TImageControl& image);
    // Throws TImageError when a save would put a file in place of something
    // that is not one (a device, a pipe).
    static void refuseUnreplaceable(const QString& fileName, const char* kind);
    void say(const QString& text);
    void say(const char* text);
    void sayRefused(std::uint8_t pixelFormat, bool clipboard);
    int openFilterIndex_ = 1;
    int saveFilterIndex_ = 1;
    TFileDialogs* dialogs_;
};

// Puts the bitmap on the clipboard; false for an empty one.
bool CopyBitMapToClipboard(const QImage& bitmap);

}  // namespace ormica
