#pragma once

#include "core/filter/filter_kernel.h"

#include <QByteArray>
#include <QString>

namespace ormica {

// A kernel as text: 49 decimal integers (an optional leading minus sign each)
// separated by blanks, tabs or line ends, row 0 first, each row column 0
// first. The file is small; anything larger is not a kernel.
inline constexpr qint64 kMaxKernelFileSize = 64 * 1024;

// Parses the text into `kernel`; on failure `kernel` is left as it was and
// `why` tells the reason in the program's words.
bool ParseKernelText(const QByteArray& text, TFilterKernel& kernel, QString& why);

// Reads and parses the file; a failure is reported through the sink as an
// error "ReadKernelFile : ..." naming the file, and `kernel` is left as it was.
// The weights are not checked for size here: that is CheckKernel's.
bool ReadKernelFile(const QString& fileName, TFilterKernel& kernel);

}  // namespace ormica
