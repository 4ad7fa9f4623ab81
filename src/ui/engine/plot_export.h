#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

namespace ormica {

class TFileDialogs;

// The numbers behind a plot: a header of column names and one row a point.
struct TPlotTable {
    QStringList Header;
    std::vector<std::vector<double>> Rows;
};

// The table as CSV: the header line, one line a row, comma-separated, dot
// decimal point, UTF-8, CR LF line ends.
QByteArray PlotTableCsv(const TPlotTable& table);

// Gives `plot` a context menu with "Сохранить рисунок…" (a PNG of what
// `picture` returns, at the panel's size) and "Сохранить числа…" (the CSV of
// `numbers`), asking for the file through `dialogs`. A null `numbers` leaves
// the second item out; a null `dialogs` leaves the plot without a menu.
void AttachPlotExport(QWidget* plot, TFileDialogs* dialogs, std::function<QImage()> picture,
                      std::function<TPlotTable()> numbers);

}  // namespace ormica
