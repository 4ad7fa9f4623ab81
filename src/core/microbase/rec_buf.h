#pragma once

#include <QString>
#include <cstdint>
#include <memory>

namespace ormica {

// One record of a record file in memory: a 6-byte header (the marker 0x52,
// the status byte, the record's number, little-endian) and DataSize bytes of
// payload.
class TRecBuf {
public:
    static constexpr int kHeaderSize = 6;
    static constexpr std::uint8_t kMarker = 0x52;

    explicit TRecBuf(std::int32_t dataSize);
    TRecBuf(const TRecBuf&) = delete;
    TRecBuf& operator=(const TRecBuf&) = delete;
    ~TRecBuf();

    // When true, failures of the engine are also shown in error boxes; they
    // always go to ErrorText.
    bool ShowErrors = false;
    // The text of the last failure, empty when there was none.
    QString ErrorText;

    bool BufferReady() const { return bufferReady_; }
    std::int32_t BufSize() const { return bufSize_; }
    std::int32_t DataSize() const { return dataSize_; }
    // The whole record and its payload part; null without a buffer.
    const std::uint8_t* buffer() const { return buffer_.get(); }
    const std::uint8_t* data() const { return bufferReady_ ? buffer_.get() + kHeaderSize : nullptr; }

    // Copy DataSize bytes into or out of the payload; false without a source
    // or destination, with DataSize 0 or without a buffer.
    bool SetData(const void* source);
    bool GetData(void* destination) const;

    void SetHeader(std::uint8_t status, std::int32_t number);
    // Byte 1 of the header, 0 without a buffer.
    std::uint8_t HeaderStatus() const;
    // The number of the header, -1 without a buffer.
    std::int32_t HeaderNumber() const;

protected:
    std::uint8_t* mutableBuffer() { return buffer_.get(); }
    // Keeps the text of a failure and shows it when ShowErrors is set.
    void fail(const QString& text);

private:
    bool bufferReady_ = false;
    std::int32_t bufSize_ = 0;
    std::int32_t dataSize_ = 0;
    std::unique_ptr<std::uint8_t[]> buffer_;
};

}  // namespace ormica
