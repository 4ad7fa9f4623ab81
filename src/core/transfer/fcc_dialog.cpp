#include "core/transfer/fcc_dialog.h"

#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ormica {

QStringList FccFilters()
{
    return {QCoreApplication::translate("FccDialog", "Функция преобразования (*.fcc)")};
}

QString ForceFccExt(const QString& fileName)
{
    if (fileName.endsWith(QStringLiteral(".fcc"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QStringLiteral(".fcc");
}

QString SaveFccDialog(TFileDialogs& dialogs, const QString& dir, const TBrightPointArray& points)
{
    const auto choice = dialogs.askSave(dir, FccFilters(), 1);
    if (!choice || choice->fileName.isEmpty())
        return {};
    const QString name = ForceFccExt(choice->fileName);
    if (QFileInfo::exists(name) &&
        !messages().question(QCoreApplication::translate("FccDialog", "Такой файл уже существует.\r\nПЕРЕЗАПИСАТЬ?"),
                             TQuestionKind::Confirmation))
        return {};
    return WriteFccFile(name, points) ? name : QString();
}

QString LoadFccDialog(TFileDialogs& dialogs, const QString& dir, TBrightPointArray& points, TFccReadState& state)
{
    const auto choice = dialogs.askOpen(dir, FccFilters(), 1);
    if (!choice || choice->fileName.isEmpty())
        return {};
    points.clear();
    LoadFccFile(choice->fileName, points, state);
    return choice->fileName;
}

}  // namespace ormica
