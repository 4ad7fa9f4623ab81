#pragma once

#include "core/filter/filter_kernel.h"
#include "core/filter/frequency_response.h"

#include <QDialog>
#include <cstdint>

class QLabel;

namespace ormica {

class TFileDialogs;

// The frequency response of a filter in a window of its own: the magnitude
// over (u, v) with its colour scale, the cuts v = 0 and u = 0, the brightness
// gain and what becomes of fine detail. Not modal, so that the filter it
// shows stays editable.
class TFormResponse : public QDialog {
    Q_OBJECT
public:
    explicit TFormResponse(QWidget* parent = nullptr);

    // Shows the response of `kernel` divided by `scale`; a scale below 1 has none.
    void showResponse(const TFilterKernel& kernel, std::int32_t scale);
    // The dialogs that save the plots' pictures and numbers; not owned.
    void setFileDialogs(TFileDialogs* dialogs);

    QWidget* PlotResponseMap = nullptr;
    QWidget* PlotResponseCuts = nullptr;
    QLabel* StTxtGain = nullptr;
    QLabel* StTxtDetail = nullptr;

private:
    TFrequencyResponse response_;  // empty while the scale is below 1
};

}  // namespace ormica
