#include "core/microbase/micro_base.h"

#include "core/engine/file_errors.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace ormica {
namespace {

// Whole-or-nothing transfers at a byte offset; false with errno (0 for a
// short end) when fewer bytes moved.
template <typename Byte, typename Transfer>
bool transferAt(int fd, Byte* bytes, std::size_t size, off_t at, Transfer transfer)
{
    while (size > 0) {
        const ssize_t n = transfer(fd, bytes, size, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = 0;
            return false;
        }
        bytes += n;
        size -= std::size_t(n);
        at += n;
    }
    return true;
}

bool readAt(int fd, std::uint8_t* to, std::size_t size, off_t at)
{
    return transferAt(fd, to, size, at, ::pread);
}

bool writeAt(int fd, const std::uint8_t* from, std::size_t size, off_t at)
{
    return transferAt(fd, from, size, at, ::pwrite);
}

QString reasonOf(int code)
{
    return code != 0 ? SystemErrorText(code)
                     : QCoreApplication::translate("MicroBase", "запись выполнена не полностью");
}

}  // namespace

TMicroBase::TMicroBase(std::int32_t dataSize) : TRecBuf(dataSize) {}

TMicroBase::~TMicroBase()
{
    Close();
}

bool TMicroBase::Open(const QString& name, TOpenMode mode)
{
    if (name.isEmpty() || !QFileInfo::exists(name))
        return false;
    if (!BufferReady()) {
        fail(QCoreApplication::translate("MicroBase", "База недоступна (буфер записи отсутствует): \r\n%1").arg(name));
        return false;
    }
    if (opened_)
        return false;
    try {
        filePosition_ = -1;
        currentIndex_ = -1;
        // Not blocking: a pipe or a device given as a base must not hang the open.
        const int flags = (mode == TOpenMode::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
        const int fd = ::open(QFile::encodeName(name).constData(), flags);
        ioCode_ = fd < 0 ? errno : 0;
        if (ioCode_ != 0) {
            fail(QCoreApplication::translate("MicroBase", "Не могу открыть файл : \r\n%1\r\n%2")
                     .arg(name, SystemErrorText(ioCode_)));
            return false;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            fail(QCoreApplication::translate("MicroBase", "Не могу открыть файл : \r\n%1\r\nэто не обычный файл")
                     .arg(name));
            return false;
        }
        fd_ = fd;
        opened_ = true;
        fileName_ = name;
        filePosition_ = 0;
        return true;
    } catch (...) {
        fail(QCoreApplication::translate("MicroBase", "Аварийная ситуация при открытии файла : \r\n%1").arg(name));
        return false;
    }
}

void TMicroBase::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    opened_ = false;
    filePosition_ = -1;
    currentIndex_ = -1;
}

std::int32_t TMicroBase::RecordCount() const
{
    struct stat st {};
    if (!opened_ || BufSize() <= 0 || ::fstat(fd_, &st) != 0 || st.st_size < 0)
        return 0;
    const auto count = std::int64_t(st.st_size) / BufSize();
    return count > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                            : std::int32_t(count);
}

const std::uint8_t* TMicroBase::Read(std::int32_t k)
{
    if (!opened_ || !BufferReady() || k < 0 || k >= RecordCount())
        return nullptr;
    filePosition_ = k;
    if (!readAt(fd_, mutableBuffer(), std::size_t(BufSize()), off_t(k) * BufSize()))
        return nullptr;
    filePosition_ = k + 1;
    currentIndex_ = k;
    return data();
}

bool TMicroBase::Write(std::uint8_t status, std::int32_t k)
{
    if (!opened_ || !BufferReady() || k < 0 || k >= RecordCount())
        return false;
    filePosition_ = k;
    SetHeader(status, k);
    if (!writeAt(fd_, buffer(), std::size_t(BufSize()), off_t(k) * BufSize())) {
        const QString reason = reasonOf(errno);
        writeFailed(QCoreApplication::translate("MicroBase",
                                                "TMicroBase.Write : Не могу записать запись %1 в файл : \r\n%2\r\n%3")
                        .arg(QString::number(k), fileName_, reason));
        return false;
    }
    filePosition_ = k + 1;
    return true;
}

std::int32_t TMicroBase::Append()
{
    if (!opened_ || !BufferReady())
        return RecordCount();
    const std::int32_t count = RecordCount();
    if (count == std::numeric_limits<std::int32_t>::max())
        return count;
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return count;
    filePosition_ = count;
    SetHeader(1, count);
    const off_t end = off_t(count) * BufSize();
    if (!writeAt(fd_, buffer(), std::size_t(BufSize()), end)) {
        QString reason = reasonOf(errno);
        // Cut what got through, so that a failed append leaves the length as it was.
        if (::ftruncate(fd_, st.st_size) != 0)
            reason = QCoreApplication::translate("MicroBase", "%1; часть записи осталась в конце файла").arg(reason);
        writeFailed(QCoreApplication::translate("MicroBase",
                                                "TMicroBase.Append : Не могу добавить запись в файл : \r\n%1\r\n%2")
                        .arg(fileName_, reason));
        return RecordCount();
    }
    filePosition_ = count + 1;
    return RecordCount();
}

void TMicroBase::writeFailed(const QString& text)
{
    ErrorText = text;
    messages().error(ErrorText);
}

}  // namespace ormica
