#pragma once

#include "core/engine/load_save_image.h"
#include "core/engine/message_sink.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace ormica::fuzz {

// The readers take file names, as the program hands them files: each input
// goes through a file of its own in memory-backed storage where there is one.
inline QString writeInput(const std::uint8_t* data, std::size_t size, const char* suffix)
{
    static const QString name = [suffix] {
        const QString path =
            QStringLiteral("%1/ormica-fuzz-%2%3")
                .arg(access("/dev/shm", W_OK) == 0 ? QStringLiteral("/dev/shm") : QStringLiteral("/tmp"))
                .arg(getpid())
                .arg(QLatin1String(suffix));
        static const QByteArray local = path.toLocal8Bit();
        std::atexit([] { std::remove(local.constData()); });
        return path;
    }();
    std::FILE* f = std::fopen(name.toLocal8Bit().constData(), "wb");
    if (!f)
        return QString();
    if (size > 0)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    return name;
}

class QuietSink : public TMessageSink {
public:
    void warning(const QString&) override {}
    void error(const QString&) override {}
    bool question(const QString&, TQuestionKind) override { return false; }
    void information(const QString&) override {}
};

// Loads the input as the program does and checks what a load promises: a
// refused load leaves the control untouched, a loaded picture is 24-bit.
template <class Load>
void loadAsTheProgramDoes(const std::uint8_t* data, std::size_t size, const char* suffix, Load load)
{
    static QuietSink sink;
    setMessageSink(&sink);
    const QString file = writeInput(data, size, suffix);
    if (file.isEmpty())
        return;
    TStoredTextPanel panel;
    TLoadSaveImage service(nullptr, &panel, nullptr);
    TImageControl image;
    bool loaded = false;
    try {
        loaded = (service.*load)(file, image);
    } catch (const TImageError&) {
        loaded = false;
    }
    if (loaded ? image.picture().format() != QImage::Format_BGR888 || image.picture().isNull()
               : !image.picture().isNull() || image.imageDesc() != nullptr)
        __builtin_trap();
}

}  // namespace ormica::fuzz
