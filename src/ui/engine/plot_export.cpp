#include "ui/engine/plot_export.h"

#include "core/engine/file_errors.h"
#include "core/engine/load_save_image.h"
#include "core/engine/message_sink.h"
#include "core/engine/png_file.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QSaveFile>
#include <QWidget>

namespace ormica {

namespace {

// Names of the holder the menu hangs on and of its two items; tests find the
// items by them.
const char kHolderName[] = "PlotExport";
const char kPictureName[] = "PlotSavePicture";
const char kNumbersName[] = "PlotSaveNumbers";

// Every plot starts its dialog in the folder the last one saved to.
QString& lastDir()
{
    static QString dir;
    return dir;
}

QByteArray csvField(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') && !bytes.contains('\n'))
        return bytes;
    bytes.replace('"', "\"\"");
    return '"' + bytes + '"';
}

// False with the reason when the file could not be written whole; the old
// file is then left as it was.
bool writeWhole(const QString& fileName, const QByteArray& bytes, QString& reason)
{
    reason = SaveTargetRefusal(fileName);
    if (!reason.isEmpty())
        return false;
    QSaveFile file(fileName);
    // A short write can be reported as whole (seen with a file-size limit),
    // so the size on disk is checked before the old file is replaced.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
                         file.error() == QFileDevice::NoError && file.size() == bytes.size();
    if (written && file.commit())
        return true;
    reason = WriteFailureReason(file);
    file.cancelWriting();
    return false;
}

// The name to write, with the extension added when missing; empty when the
// user cancelled or declined to replace an existing file.
QString askFileName(TFileDialogs& dialogs, const QString& filter, const QString& extension)
{
    const auto choice = dialogs.askSave(lastDir(), {filter}, 1);
    if (!choice || choice->fileName.isEmpty())
        return {};
    QString name = choice->fileName;
    if (!name.endsWith(extension, Qt::CaseInsensitive))
        name += extension;
    lastDir() = QFileInfo(name).absolutePath();
    if (QFileInfo::exists(name) &&
        !messages().question(QCoreApplication::translate("LoadSaveImage", TLoadSaveImage::kOverwrite),
                            TQuestionKind::Information))
        return {};
    return name;
}

void savePicture(const QWidget* plot, TFileDialogs& dialogs, const std::function<QImage()>& picture)
{
    const QString name =
        askFileName(dialogs, QCoreApplication::translate("PlotExport", "Рисунок PNG (*.png)"), QStringLiteral(".png"));
    if (name.isEmpty())
        return;
    QImage image = picture();
    // A grab on a high-density screen comes in device pixels.
    if (!image.isNull() && image.size() != plot->size())
        image = image.scaled(plot->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QString reason;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull())
        reason = QCoreApplication::translate("PlotExport", "Рисунка нет.");
    else if (WritePng(image.convertToFormat(QImage::Format_BGR888), buffer, reason))
        writeWhole(name, buffer.data(), reason);
    if (!reason.isEmpty())
        messages().warning(
            QCoreApplication::translate("PlotExport", "Не могу записать рисунок \"%1\".\r\n%2").arg(name, reason));
}

void saveNumbers(TFileDialogs& dialogs, const std::function<TPlotTable()>& numbers)
{
    const QString name =
        askFileName(dialogs, QCoreApplication::translate("PlotExport", "Таблица CSV (*.csv)"), QStringLiteral(".csv"));
    if (name.isEmpty())
        return;
    QString reason;
    if (!writeWhole(name, PlotTableCsv(numbers()), reason))
        messages().warning(
            QCoreApplication::translate("PlotExport", "Не могу записать числа \"%1\".\r\n%2").arg(name, reason));
}

}  // namespace

QByteArray PlotTableCsv(const TPlotTable& table)
{
    QByteArray csv;
    const auto endLine = [&] { csv += "\r\n"; };
    for (qsizetype i = 0; i < table.Header.size(); ++i)
        csv += (i ? "," : "") + csvField(table.Header[i]);
    endLine();
    for (const std::vector<double>& row : table.Rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i)
                csv += ',';
            // The shortest form that reads back to the same double; never the locale's.
            csv += QByteArray::number(row[i], 'g', QLocale::FloatingPointShortest);
        }
        endLine();
    }
    return csv;
}

void AttachPlotExport(QWidget* plot, TFileDialogs* dialogs, std::function<QImage()> picture,
                      std::function<TPlotTable()> numbers)
{
    if (!plot)
        return;
    // Attached again (new dialogs): the old menu goes, with its connection.
    delete plot->findChild<QObject*>(QLatin1String(kHolderName), Qt::FindDirectChildrenOnly);
    if (!dialogs) {
        plot->setContextMenuPolicy(Qt::DefaultContextMenu);
        return;
    }
    auto* holder = new QObject(plot);
    holder->setObjectName(QLatin1String(kHolderName));
    auto* savePic = new QAction(QCoreApplication::translate("PlotExport", "Сохранить рисунок…"), holder);
    savePic->setObjectName(QLatin1String(kPictureName));
    QObject::connect(savePic, &QAction::triggered, holder,
                     [plot, dialogs, picture = std::move(picture)] { savePicture(plot, *dialogs, picture); });
    QList<QAction*> items{savePic};
    if (numbers) {
        auto* saveNum = new QAction(QCoreApplication::translate("PlotExport", "Сохранить числа…"), holder);
        saveNum->setObjectName(QLatin1String(kNumbersName));
        QObject::connect(saveNum, &QAction::triggered, holder,
                         [dialogs, numbers = std::move(numbers)] { saveNumbers(*dialogs, numbers); });
        items.push_back(saveNum);
    }
    plot->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(plot, &QWidget::customContextMenuRequested, holder,
                     [plot, items](const QPoint& pos) { QMenu::exec(items, plot->mapToGlobal(pos), nullptr, plot); });
}

}  // namespace ormica
