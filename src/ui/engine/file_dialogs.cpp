#include "ui/engine/file_dialogs.h"

#include <QFileDialog>

namespace ormica {

std::optional<TFileChoice> TQtFileDialogs::askOpen(const QString& initialDir, const QStringList& filters,
                                                   int filterIndex)
{
    return ask(false, initialDir, filters, filterIndex);
}

std::optional<TFileChoice> TQtFileDialogs::askSave(const QString& initialDir, const QStringList& filters,
                                                   int filterIndex)
{
    return ask(true, initialDir, filters, filterIndex);
}

std::optional<TFileChoice> TQtFileDialogs::ask(bool save, const QString& initialDir, const QStringList& filters,
                                               int filterIndex)
{
    QFileDialog dialog(parent_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The caller decides about overwriting, with its own question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(filterIndex - 1));
    if (!initialDir.isEmpty())
        dialog.setDirectory(initialDir);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return TFileChoice{dialog.selectedFiles().constFirst(), int(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

}  // namespace ormica
