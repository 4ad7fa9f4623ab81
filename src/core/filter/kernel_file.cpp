#include "core/filter/kernel_file.h"

#include "core/engine/file_errors.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace ormica {

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A token as the message shows it: short, and only what is printable.
QString shown(const QByteArray& token)
{
    QString text = QString::fromLatin1(token.left(20));
    for (QChar& c : text)
        if (!c.isPrint())
            c = QLatin1Char('?');
    return token.size() > 20 ? text + QStringLiteral("...") : text;
}

}  // namespace

bool ParseKernelText(const QByteArray& text, TFilterKernel& kernel, QString& why)
{
    TFilterKernel parsed;
    int count = 0;
    qsizetype at = 0;
    const qsizetype n = text.size();
    while (true) {
        while (at < n && isSeparator(text[at]))
            ++at;
        if (at >= n)
            break;
        qsizetype end = at;
        while (end < n && !isSeparator(text[end]))
            ++end;
        const QByteArray token = text.mid(at, end - at);
        at = end;
        const bool negative = token.startsWith('-');
        const qsizetype first = negative ? 1 : 0;
        std::int64_t value = 0;
        bool number = token.size() > first;
        for (qsizetype k = first; number && k < token.size(); ++k) {
            if (token[k] < '0' || token[k] > '9') {
                number = false;
                break;
            }
            // Saturated once out of range; the rest is still read to tell a word from a long number.
            if (value <= std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
                value = value * 10 + (token[k] - '0');
        }
        if (!number) {
            why = QCoreApplication::translate("KernelFile", "\"%1\" не является целым числом.").arg(shown(token));
            return false;
        }
        if (negative)
            value = -value;
        if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min()) {
            why = QCoreApplication::translate("KernelFile", "Число %1 выходит за пределы 32-битного целого.")
                      .arg(shown(token));
            return false;
        }
        if (count == TFilterKernel::kCount) {
            why = QCoreApplication::translate("KernelFile", "Чисел больше, чем 49.");
            return false;
        }
        parsed.Weights[std::size_t(count++)] = std::int32_t(value);
    }
    if (count != TFilterKernel::kCount) {
        why = QCoreApplication::translate("KernelFile", "Чисел %1 вместо 49.").arg(count);
        return false;
    }
    kernel = parsed;
    return true;
}

bool ReadKernelFile(const QString& fileName, TFilterKernel& kernel)
{
    auto fail = [&](const QString& why) {
        messages().error(
            QCoreApplication::translate("KernelFile", "ReadKernelFile : Файл %1 не содержит фильтра 7 x 7.\r\n%2")
                .arg(fileName, why));
        return false;
    };
    const QFileInfo info(fileName);
    if (!info.exists())
        return fail(QCoreApplication::translate("KernelFile", "Файл не найден."));
    if (!info.isFile())
        return fail(QCoreApplication::translate("KernelFile", "Это не обычный файл."));
    if (info.size() > kMaxKernelFileSize)
        return fail(QCoreApplication::translate("KernelFile", "Файл больше %1 байт.").arg(kMaxKernelFileSize));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString why = ReadFailureReason(fileName);
        return fail(why.isEmpty() ? QCoreApplication::translate("KernelFile", "Файл не читается.") : why);
    }
    // The size may have grown since it was looked at.
    const QByteArray text = file.read(kMaxKernelFileSize + 1);
    if (text.size() > kMaxKernelFileSize)
        return fail(QCoreApplication::translate("KernelFile", "Файл больше %1 байт.").arg(kMaxKernelFileSize));
    QString why;
    if (!ParseKernelText(text, kernel, why))
        return fail(why);
    return true;
}

}  // namespace ormica
