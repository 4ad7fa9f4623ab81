#pragma once

#include "core/engine/color.h"

#include <optional>

class QWidget;

namespace ormica {

// The colour question of the windows; tests answer it.
class TColorQuestion {
public:
    virtual ~TColorQuestion() = default;
    // The chosen colour, or nothing when the user cancels.
    virtual std::optional<TColor> askColor(TColor initial) = 0;
};

class TQtColorDialog : public TColorQuestion {
public:
    explicit TQtColorDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<TColor> askColor(TColor initial) override;

private:
    QWidget* parent_;
};

}  // namespace ormica
