#include "core/transfer/fcc_file.h"

#include "core/engine/file_errors.h"
#include "core/engine/message_sink.h"
#include "core/engine/text_convert.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace ormica {
namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

QString trimControls(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlankOrControl(s[b]))
        ++b;
    while (e > b && isBlankOrControl(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

qint32 clampBright(qint32 v)
{
    return std::clamp<qint32>(v, 0, 255);
}

void fileError(TFccReadState& state, const QString& fileName, const QString& reason)
{
    state.FileError = reason;
    messages().error(
        QCoreApplication::translate("FccFile", "Не могу прочитать файл функции %1 : %2").arg(fileName, reason));
}

}  // namespace

bool TryParseInt(const QString& text, qint32& value)
{
    value = 0;
    // The runtime's conversion refuses empty texts and trailing blanks.
    if (text.isEmpty() || text.back().isSpace())
        return false;
    int v = 0;
    if (!TextToInt(text, v))
        return false;
    value = v;
    return true;
}

void ParseFccLine(TFccLine& slot, const QString& separator, const QString& text, int& inErrors, int& outErrors)
{
    slot.Valid = false;
    const qsizetype p = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (p <= 0)
        return;
    const QString left = trimControls(text.left(p));
    const QString right = trimControls(text.mid(p + separator.size()));
    qint32 v = 0;
    if (!left.isEmpty()) {
        if (TryParseInt(left, v)) {
            slot.X = v;
        } else {
            slot.Error = true;
            ++inErrors;
        }
    }
    if (!right.isEmpty()) {
        if (TryParseInt(right, v)) {
            slot.Y = v;
        } else {
            slot.Error = true;
            ++outErrors;
        }
    }
    if (!slot.Error)
        slot.Valid = true;
}

void ParseFccLines(const QStringList& lines, const QString& separator, TFccReadState& state)
{
    qsizetype cursor = 0;
    for (TFccLine& slot : state.FccLines) {
        QString text;
        bool found = false;
        while (cursor < lines.size() && !found) {
            text = trimControls(lines[cursor++]);
            found = !text.isEmpty() && !text.startsWith(QLatin1Char('/'));
        }
        if (!found)
            break;
        ParseFccLine(slot, separator, text, state.InErrors, state.OutErrors);
    }
}

QStringList SplitFccLines(const QByteArray& bytes)
{
    // Latin-1 maps every byte to one character, so binary junk cannot fail to decode.
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QString::fromLatin1(bytes.constData() + start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QString::fromLatin1(bytes.constData() + start, n - start));
    return lines;
}

bool ReadFccFile(const QString& fileName, const QString& separator, TFccReadState& state)
{
    state = TFccReadState{};
    const QFileInfo info(fileName);
    // A pipe or a device could block or never end.
    if (!info.exists()) {
        fileError(state, fileName, QCoreApplication::translate("FccFile", "файл не найден"));
        return false;
    }
    if (!info.isFile()) {
        fileError(state, fileName, QCoreApplication::translate("FccFile", "это не обычный файл"));
        return false;
    }
    if (info.size() > kMaxFccFileSize) {
        fileError(state, fileName,
                  QCoreApplication::translate("FccFile", "файл слишком велик (%1 байт, допустимо не более %2)")
                      .arg(info.size())
                      .arg(kMaxFccFileSize));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString why = ReadFailureReason(fileName);
        fileError(state, fileName, why.isEmpty() ? file.errorString() : why);
        return false;
    }
    // The file may have grown since the size was taken.
    const QByteArray bytes = file.read(kMaxFccFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        fileError(state, fileName, file.errorString());
        return false;
    }
    if (bytes.size() > kMaxFccFileSize) {
        fileError(state, fileName,
                  QCoreApplication::translate("FccFile", "файл слишком велик (допустимо не более %1 байт)")
                      .arg(kMaxFccFileSize));
        return false;
    }
    const QStringList lines = SplitFccLines(bytes);
    if (lines.isEmpty())
        return false;
    state.FccLines.assign(std::size_t(lines.size()), TFccLine{});
    ParseFccLines(lines, separator, state);
    return state.InErrors == 0 && state.OutErrors == 0;
}

QString FccErrorCountsText(int inErrors, int outErrors)
{
    return QCoreApplication::translate("FccFile", "ПРИ ЗАГРУЗКЕ ФАЙЛА ОБНАРУЖЕНЫ ОШИБКИ :\r\n"
                                                  "Ошибки входной яркости  - %1\r\n"
                                                  "Ошибки выходной яркости - %2\r\n"
                                                  "ЗАГРУЗКА ФАЙЛА ОТМЕНЕНА")
        .arg(inErrors)
        .arg(outErrors);
}

bool LoadFccFile(const QString& fileName, TBrightPointArray& points, TFccReadState& state)
{
    if (!ReadFccFile(fileName, QString(kFccSeparator), state)) {
        // A file error has been reported already; only bad contents get the counts.
        if (state.FileError.isEmpty())
            messages().warningYes(FccErrorCountsText(state.InErrors, state.OutErrors));
        return false;
    }
    TBrightPointArray loaded;
    for (const TFccLine& slot : state.FccLines)
        if (slot.Valid)
            loaded.push_back({clampBright(slot.X), clampBright(slot.Y)});
    points = std::move(loaded);
    return true;
}

bool WriteFccFile(const QString& fileName, const TBrightPointArray& points, QChar separator)
{
    if (points.empty())
        return true;
    QByteArray text;
    const QByteArray sep = QString(separator).toLatin1();
    for (const TBrightPoint& p : points)
        text += QByteArray::number(p.X) + sep + QByteArray::number(p.Y) + "\r\n";
    if (const QString why = SaveTargetRefusal(fileName); !why.isEmpty()) {
        messages().error(
            QCoreApplication::translate("FccFile", "Не могу записать файл функции %1 : %2").arg(fileName, why));
        return false;
    }
    QSaveFile file(fileName);
    // A short write can be reported as whole (seen with a file-size limit), so
    // the size on disk is checked before the old file is replaced.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush() &&
                         file.error() == QFileDevice::NoError && file.size() == text.size();
    if (!written || !file.commit()) {
        const QString reason = WriteFailureReason(file);
        file.cancelWriting();
        messages().error(
            QCoreApplication::translate("FccFile", "Не могу записать файл функции %1 : %2").arg(fileName, reason));
        return false;
    }
    return true;
}

}  // namespace ormica
