#pragma once

#include "core/engine/color.h"
#include "core/explain/operation_record.h"

#include <QImage>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace ormica {

// One step of a worked computation: a short label, the formula in symbols and
// the same formula with the numbers put into it (ending with its value).
struct TExplainStep {
    QString Label;
    QString Formula;
    QString Numbers;
};

// The 7 x 7 source neighbourhood a filtered pixel was computed from: the
// source row and column each cell read, the three channels and the weights.
struct TNeighbourhood {
    std::array<int, 7> Rows{};
    std::array<int, 7> Cols{};
    std::array<std::array<TBGRTriple, 7>, 7> Values{};
    std::array<std::array<std::int32_t, 7>, 7> Weights{};
};

struct TExplanation {
    QString Operation;  // OperationName of the record
    int X = 0;          // the pixel explained, in the image it wrote
    int Y = 0;
    std::vector<TExplainStep> Steps;
    // The value the steps arrive at, and the pixel the image holds.
    std::optional<TBGRTriple> Result;
    std::optional<TBGRTriple> Actual;
    // Set when nothing can be explained (no record, a pixel outside the
    // picture, a source no longer at hand): why, in a sentence.
    QString Unavailable;
    std::optional<TNeighbourhood> Neighbourhood;

    bool Matches() const { return Result && Actual && *Result == *Actual; }
};

// Works out pixel (x, y) of `written`, the picture `record` wrote, from the
// record's definition (the direct formulas, never the fast paths). A result
// that differs from the pixel written gets a last step saying so.
TExplanation Explain(const TOperationRecord& record, const QImage& written, int x, int y);

// As text: a heading, one step a line ("label: formula = numbers"), then
// "result<TAB>B<TAB>G<TAB>R"; an explanation that is not available gives
// its reason on one line instead. The words are in the program's language,
// the numbers and the "result" line are the same in every language.
QString ExplanationText(const TExplanation& explanation);
// As JSON, the same fields: the keys never change, the texts follow the language.
QByteArray ExplanationJson(const TExplanation& explanation);

namespace detail {
// The operations' own parts of Explain; each fills Steps, Result and, for
// the filter, Neighbourhood. (x, y) lies inside `written`.
void ExplainGrey(const TOperationRecord& record, int x, int y, TExplanation& out);
void ExplainGeometry(const TOperationRecord& record, const QImage& written, int x, int y, TExplanation& out);
void ExplainRotate(const TOperationRecord& record, int x, int y, TExplanation& out);
void ExplainScale(const TOperationRecord& record, const QImage& written, int x, int y, TExplanation& out);
void ExplainFilter(const TOperationRecord& record, int x, int y, TExplanation& out);
void ExplainTransfer(const TOperationRecord& record, int x, int y, TExplanation& out);
// A number as the steps write it: integers plain, others with up to
// `digits` significant digits and a point.
QString ExplainNumber(long double value, int digits = 10);
}  // namespace detail

}  // namespace ormica
