#pragma once

#include "core/microbase/rec_buf.h"

#include <QString>
#include <cstdint>

namespace ormica {

// How a base file is held open. The program holds its base for reading and
// writing; a reader that only looks can hold it for reading.
enum class TOpenMode { ReadWrite, ReadOnly };

// A file of fixed-size records without a header: the record at position k
// starts at byte BufSize * k, a trailing partial record does not count. Each
// record stores its own position as its number.
class TMicroBase : public TRecBuf {
public:
    explicit TMicroBase(std::int32_t dataSize);
    ~TMicroBase();

    // False without a report when no such file exists or a base is open
    // already; false with the reason in ErrorText when it cannot be opened.
    bool Open(const QString& name, TOpenMode mode = TOpenMode::ReadWrite);
    void Close();

    // Writes the buffer's payload as a new working record numbered with its
    // position. The number of records after it; on a failure, which is
    // reported and undone, the number before it.
    std::int32_t Append();
    // Reads record k into the buffer: its payload, or null when there is no
    // record k (or it cannot be read).
    const std::uint8_t* Read(std::int32_t k);
    // Writes the buffer's payload over record k with the given status and the
    // number k. A write that does not complete is reported.
    bool Write(std::uint8_t status, std::int32_t k);

    // The number of whole records in the file, 0 when nothing is open.
    std::int32_t RecordCount() const;

    const QString& FileName() const { return fileName_; }
    bool Opened() const { return opened_; }
    int IoCode() const { return ioCode_; }
    std::int32_t FilePosition() const { return filePosition_; }
    std::int32_t CurrentIndex() const { return currentIndex_; }

private:
    // Reports a write that did not complete, whether or not ShowErrors is set:
    // losing a record without a word is worse than a box.
    void writeFailed(const QString& text);

    QString fileName_;
    bool opened_ = false;
    int fd_ = -1;
    int ioCode_ = 0;
    std::int32_t filePosition_ = -1;
    std::int32_t currentIndex_ = -1;
};

}  // namespace ormica
