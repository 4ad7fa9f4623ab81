#include "ui/engine/import_txt_dialog.h"

#include "core/engine/text_image.h"
#include "ui/engine/busy_cursor.h"
#include "ui/engine/progress_bar.h"

namespace ormica {

TImportTxtDialog::TImportTxtDialog(TFileDialogs* dialogs, TImgTabBGR& target, QWidget* parent)
    : TTextImageDialog(dialogs, tr("Импорт из текстового файла"), tr("ИМПОРТ"),
                       tr("Как изображение можно импортировать текстовый файл, содержащий только "
                          "строки пикселей, в которых значения B, G, R записаны десятичными числами "
                          "от 0 до 255 в формате: B разделитель G разделитель R разделитель"),
                       parent),
      target_(target)
{
    setObjectName(QStringLiteral("ImportTxtDialog"));
}

void TImportTxtDialog::Run()
{
    if (!dialogs_)
        return;
    const auto choice = dialogs_->askOpen(QString(), TxtFilters(), 1);
    if (!choice)
        return;
    repaint();
    if (choice->fileName.isEmpty())
        return;
    TBusyCursor busy;
    ReadImgTabText(target_, Separator(), choice->fileName, progress_.get());
}

}  // namespace ormica
