#pragma once

#include "core/engine/load_save_image.h"

class QWidget;

namespace ormica {

// The picture dialogs of the windows. Qt's own dialogs, so that they look
// and filter the same on every desktop.
class TQtFileDialogs : public TFileDialogs {
public:
    explicit TQtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<TFileChoice> askOpen(const QString& initialDir, const QStringList& filters, int filterIndex) override;
    std::optional<TFileChoice> askSave(const QString& initialDir, const QStringList& filters, int filterIndex) override;

private:
    std::optional<TFileChoice> ask(bool save, const QString& initialDir, const QStringList& filters, int filterIndex);
    QWidget* parent_;
};

}  // namespace ormica
