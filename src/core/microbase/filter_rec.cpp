#include "core/microbase/filter_rec.h"

#include "core/engine/cp1251.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace ormica {

QString TShortString81::text() const
{
    return FromCp1251(Chars.data(), usedLength());
}

bool TShortString81::setText(const QString& text)
{
    if (text.size() > kCapacity)
        return false;
    const std::optional<QByteArray> bytes = ToCp1251(text);
    if (!bytes)
        return false;
    std::copy(bytes->cbegin(), bytes->cend(), Chars.begin());
    Length = std::uint8_t(bytes->size());
    return true;
}

QString ShortStringRefusal(const QString& text)
{
    const qsizetype bad = FirstNonCp1251(text);
    if (bad >= 0) {
        // A character outside the basic plane is two code units; show it whole.
        const char32_t code = text[bad].isHighSurrogate() && bad + 1 < text.size()
                                  ? QChar::surrogateToUcs4(text[bad], text[bad + 1])
                                  : char32_t(text[bad].unicode());
        const QString shown = QString::fromUcs4(&code, 1);
        return QCoreApplication::translate("FilterRec",
                                           "символ «%1» (U+%2) не может быть сохранен в кодировке Windows-1251.")
            .arg(shown, QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
    if (text.size() > TShortString81::kCapacity)
        return QCoreApplication::translate("FilterRec", "текст длиннее %1 символов (%2).")
            .arg(TShortString81::kCapacity)
            .arg(text.size());
    return {};
}

bool CheckShortString(const QString& text, const QString& caption)
{
    const QString why = ShortStringRefusal(text);
    if (why.isEmpty())
        return true;
    messages().warning(
        QCoreApplication::translate("FilterRec", "%1 : %2\r\nПрежнее значение будет восстановлено.").arg(caption, why));
    return false;
}

namespace {

void putString(std::uint8_t* at, const TShortString81& s)
{
    at[0] = s.Length;
    std::memcpy(at + 1, s.Chars.data(), s.Chars.size());
}

TShortString81 takeString(const std::uint8_t* at)
{
    TShortString81 s;
    s.Length = at[0];
    std::memcpy(s.Chars.data(), at + 1, s.Chars.size());
    return s;
}

}  // namespace

TFilterRecBytes FilterRecToBytes(const TFilterRec& rec)
{
    TFilterRecBytes b{};
    putString(b.data() + TFilterRec::kNameAt, rec.Name);
    for (int i = 0; i < TFilterKernel::kCount; ++i)
        qToLittleEndian<std::int32_t>(rec.Kernel.Weights[std::size_t(i)], b.data() + TFilterRec::kKernelAt + 4 * i);
    qToLittleEndian<std::int32_t>(rec.Scale, b.data() + TFilterRec::kScaleAt);
    qToLittleEndian<std::int32_t>(rec.Type, b.data() + TFilterRec::kTypeAt);
    putString(b.data() + TFilterRec::kComment1At, rec.Comment1);
    putString(b.data() + TFilterRec::kComment2At, rec.Comment2);
    return b;
}

TFilterRec FilterRecFromBytes(const std::uint8_t* bytes)
{
    TFilterRec rec;
    rec.Name = takeString(bytes + TFilterRec::kNameAt);
    for (int i = 0; i < TFilterKernel::kCount; ++i)
        rec.Kernel.Weights[std::size_t(i)] = qFromLittleEndian<std::int32_t>(bytes + TFilterRec::kKernelAt + 4 * i);
    rec.Scale = qFromLittleEndian<std::int32_t>(bytes + TFilterRec::kScaleAt);
    rec.Type = qFromLittleEndian<std::int32_t>(bytes + TFilterRec::kTypeAt);
    rec.Comment1 = takeString(bytes + TFilterRec::kComment1At);
    rec.Comment2 = takeString(bytes + TFilterRec::kComment2At);
    return rec;
}

TFilterData FilterDataOf(const TFilterRec& rec)
{
    TFilterData data;
    data.Kernel = rec.Kernel;
    data.Scale = rec.Scale;
    data.Type = rec.Type;
    return data;
}

void PutFilterData(TFilterRec& rec, const TFilterData& data)
{
    rec.Kernel = data.Kernel;
    rec.Scale = data.Scale;
    rec.Type = data.Type;
}

bool PutFilterRec(TRecBuf& buf, const TFilterRec& rec)
{
    if (buf.DataSize() != TFilterRec::kSize)
        return false;
    const TFilterRecBytes bytes = FilterRecToBytes(rec);
    return buf.SetData(bytes.data());
}

std::optional<TFilterRec> ReadFilterRec(TMicroBase& base, std::int32_t k)
{
    if (base.DataSize() != TFilterRec::kSize)
        return std::nullopt;
    const std::uint8_t* payload = base.Read(k);
    if (!payload)
        return std::nullopt;
    return FilterRecFromBytes(payload);
}

}  // namespace ormica
