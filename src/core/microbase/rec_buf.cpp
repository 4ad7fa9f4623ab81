#include "core/microbase/rec_buf.h"

#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QtEndian>
#include <cstring>
#include <limits>
#include <new>

namespace ormica {

TRecBuf::TRecBuf(std::int32_t dataSize)
{
    dataSize_ = dataSize;
    const bool sizeOk = dataSize >= 0 && dataSize <= std::numeric_limits<std::int32_t>::max() - kHeaderSize;
    bufSize_ = sizeOk ? dataSize + kHeaderSize : 0;
    if (sizeOk)
        buffer_.reset(new (std::nothrow) std::uint8_t[std::size_t(bufSize_)]());
    bufferReady_ = buffer_ != nullptr;
    if (!bufferReady_)
        fail(QCoreApplication::translate("MicroBase", "Не могу получить память для буфера записей"));
}

TRecBuf::~TRecBuf() = default;

bool TRecBuf::SetData(const void* source)
{
    if (!source || dataSize_ == 0 || !bufferReady_)
        return false;
    std::memcpy(buffer_.get() + kHeaderSize, source, std::size_t(dataSize_));
    return true;
}

bool TRecBuf::GetData(void* destination) const
{
    if (!destination || dataSize_ == 0 || !bufferReady_)
        return false;
    std::memcpy(destination, buffer_.get() + kHeaderSize, std::size_t(dataSize_));
    return true;
}

void TRecBuf::SetHeader(std::uint8_t status, std::int32_t number)
{
    if (!bufferReady_)
        return;
    buffer_[0] = kMarker;
    buffer_[1] = status;
    qToLittleEndian<std::int32_t>(number, buffer_.get() + 2);
}

std::uint8_t TRecBuf::HeaderStatus() const
{
    return bufferReady_ ? buffer_[1] : 0;
}

std::int32_t TRecBuf::HeaderNumber() const
{
    return bufferReady_ ? qFromLittleEndian<std::int32_t>(buffer_.get() + 2) : -1;
}

void TRecBuf::fail(const QString& text)
{
    ErrorText = text;
    if (ShowErrors)
        messages().error(text);
}

}  // namespace ormica
