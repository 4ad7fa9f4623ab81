#include "ui/engine/export_txt_dialog.h"

#include "core/engine/text_image.h"
#include "ui/engine/busy_cursor.h"
#include "ui/engine/progress_bar.h"

namespace ormica {

TExportTxtDialog::TExportTxtDialog(TFileDialogs* dialogs, const TImgTabBGR& source, QWidget* parent)
    : TTextImageDialog(dialogs, tr("Экспорт изображения в txt - файл"), tr("ЭКСПОРТ"),
                       tr("Строки текстового файла будут соответствовать строкам изображения, а "
                          "каждый пиксель будет кодироваться тремя десятичными значениями в формате: "
                          "B разделитель G разделитель R разделитель"),
                       parent),
      source_(source)
{
    setObjectName(QStringLiteral("ExportTxtDialog"));
}

void TExportTxtDialog::Run()
{
    if (!dialogs_)
        return;
    const auto choice = dialogs_->askSave(QString(), TxtFilters(), 1);
    if (!choice)
        return;
    repaint();
    if (choice->fileName.isEmpty())
        return;
    // No overwrite question: an existing file is replaced.
    const QString fileName = TextImageFileName(choice->fileName);
    TBusyCursor busy;
    WriteImgTabText(source_, Separator(), fileName, progress_.get());
}

}  // namespace ormica
