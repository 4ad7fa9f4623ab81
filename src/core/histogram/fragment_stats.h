#pragma once

#include "core/engine/color.h"
#include "core/engine/img_tab.h"
#include "core/transfer/graph_arr.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace ormica {

// Extended values, one per point of a sample.
using TArrExtnd = std::vector<long double>;

// One row or column of the fragment taken as a sample of one channel, with
// everything computed from it.
struct TAcExtract {
    std::int32_t SelRow = 0;  // -1 when unknown or found outside the fragment
    std::int32_t SelCol = 0;
    char RowCol = 'R';   // 'R' the picked row, 'C' the picked column
    char Channel = 'L';  // 'R', 'G', 'B' or 'L'
    bool StatReady = false;
    std::int32_t NumPnt = 0;
    long double Mean = 0;
    long double Variance = 0;  // divided by N
    std::vector<TBGRTriple> Extract;
    TArrExtnd Centred;
    TArrExtnd ConvFunc;
    TArrExtnd AcResult;  // 2N + 3 entries once correlated
    TGraphArr GraphCentred;
    TGraphArr GraphAc;
    TGraphArr GraphFunc;
};

// The value a pixel gives for channel R, G or B (its byte) or L (the
// unrounded Light); any other letter is read as L.
long double ChannelValue(const TBGRTriple& pixel, char channel);

// The warnings of the sample routines, as the user reads them.
QString NoPointChosenMessage();
QString TooSmallFragmentMessage();
QString RowOutsideMessage();
QString ColumnOutsideMessage();
QString NoWorkMemoryMessage();
QString StatisticsNeededMessage();
QString TooFewFunctionPointsMessage();
QString UnequalFunctionsMessage();

// Copies the picked row (mode 'R') or column (any other mode) of the fragment
// into Extract. `pointFrozen`: the cross-hair holds a clicked point. A refusal
// is warned and returns false; a coordinate found outside becomes -1, so the
// refusal repeats until a new point is picked.
bool ExtractSample(const TImgTabColor& fragment, bool pointFrozen, char mode, TAcExtract& ac);

// N entries for Extract, Centred, ConvFunc and the three point arrays; out of
// memory all seven arrays are emptied, with a warning.
bool AllocAcArrays(TAcExtract& ac, std::int32_t n);
// Empties the seven arrays.
void FreeAcArrays(TAcExtract& ac);

// Mean, population variance (StatReady once known) and the centred sample
// with its plot points, from Extract.
void SampleMean(TAcExtract& ac, char channel);
void SampleVariance(TAcExtract& ac, char channel);
void CentreSample(TAcExtract& ac, char channel);
void SampleStatistics(TAcExtract& ac, char channel);

// The functions of the convolution list, in its order; other indexes give 1.
enum TConvFuncKind { kFuncOne = 0, kFuncX = 1, kFuncOneMinusX = 2, kFuncRect = 3 };

// Fills ConvFunc and GraphFunc with Func(X) of the list index. False, with
// nothing filled, while ConvFunc has fewer than 2 entries or differs in length
// from Centred.
bool BuildConvFunc(TAcExtract& ac, int funcIndex);

// The sliding sum of products for lag k: F against itself (mode 'A', divided
// by a positive divisor) or against G (mode 'C', never divided). Products are
// extended, the running sum a double.
long double LaggedProductSum(char mode, const TArrExtnd& f, const TArrExtnd& g, std::int32_t lag, long double divisor);

// 2N + 3 entries; entry k + N + 1 holds lag k for |k| < N, the two at each end
// stay 0. Operands of fewer than 2 points or of unequal lengths are refused
// with a message and leave the result as it was.
void Correlate(char mode, const TArrExtnd& f, const TArrExtnd& g, TArrExtnd& result, long double divisor);

// Mode 'C' convolves the centred sample with ConvFunc, any other mode
// autocorrelates it; the result goes to AcResult and GraphAc (X = lag). A
// sample without statistics, or of fewer than 3 points, is refused.
bool CorrelateSample(TAcExtract& ac, char mode);

// Mean and population variance of a channel over every pixel of the
// fragment; 0 without pixels.
long double FragmentMean(const TImgTabColor& fragment, char channel);
long double FragmentVariance(const TImgTabColor& fragment, char channel, long double mean);

}  // namespace ormica
