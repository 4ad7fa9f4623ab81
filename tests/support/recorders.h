#pragma once

#include "core/engine/image_error.h"
#include "core/engine/img_tab.h"
#include "core/engine/load_save_image.h"
#include "core/engine/message_sink.h"
#include "core/engine/progress.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace ormica::test {

// Records every message; answers questions from a queue (No when it runs dry).
// Installs itself for its lifetime.
class RecordingSink : public TMessageSink {
public:
    RecordingSink() { previous_ = setMessageSink(this); }
    ~RecordingSink() override { setMessageSink(previous_); }
    void warning(const QString& text) override { warnings.push_back(text); }
    void error(const QString& text) override { errors.push_back(text); }
    bool question(const QString& text, TQuestionKind kind) override
    {
        questions.push_back(text);
        questionKinds.push_back(kind);
        if (answers.empty())
            return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void information(const QString& text) override { informations.push_back(text); }
    bool silent() const { return warnings.empty() && errors.empty() && questions.empty() && informations.empty(); }

    QStringList warnings, errors, questions, informations;
    std::vector<TQuestionKind> questionKinds;
    std::deque<bool> answers;

private:
    TMessageSink* previous_;
};

// Keeps every position it was given.
class RecordingProgress : public TSilentProgress {
public:
    void setPosition(int value) override
    {
        TSilentProgress::setPosition(value);
        positions.push_back(value);
    }
    std::vector<int> positions;
};

class RecordingPanel : public TTextPanel {
public:
    void setText(const QString& text) override
    {
        text_ = text;
        history.push_back(text);
    }
    QString text() const override { return text_; }
    QStringList history;

private:
    QString text_;
};

// Answers the picture dialogs from a queue; records what they were asked with.
class ScriptedDialogs : public TFileDialogs {
public:
    std::optional<TFileChoice> askOpen(const QString& dir, const QStringList&, int index) override
    {
        return next(dir, index);
    }
    std::optional<TFileChoice> askSave(const QString& dir, const QStringList&, int index) override
    {
        return next(dir, index);
    }
    std::deque<std::optional<TFileChoice>> choices;
    QStringList askedDirs;
    std::vector<int> askedIndexes;

private:
    std::optional<TFileChoice> next(const QString& dir, int index)
    {
        askedDirs.push_back(dir);
        askedIndexes.push_back(index);
        if (choices.empty())
            return std::nullopt;
        std::optional<TFileChoice> c;
        c.swap(choices.front());
        choices.pop_front();
        return c;
    }
};

// The whole file, or nothing when it cannot be read.
QByteArray fileBytes(const QString& name);
// True when the file now holds exactly the bytes.
bool writeFile(const QString& name, const QByteArray& bytes);
// The file `name` in `dir` holding the bytes: its path, empty when it cannot be written.
QString fileIn(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
// Same rows with the same bytes.
bool sameArrays(const TImgTabBGR& a, const TImgTabBGR& b);

// A 453-byte filter-base record put together by hand: marker, status,
// number, a name of at most 80 bytes, every other byte `fill`.
QByteArray handRecord(std::uint8_t status, std::int32_t number, const QByteArray& name, char fill);

// The third-party picture corpora; empty when they are not beside the project.
QString testDataDir();
// A file or folder of the corpora ("jpeg/go", "bmpsuite/g"); empty without them.
QString corpusPath(const QString& relative);

// The array of a 24-bit picture.
TImgTabBGR arrayOf(const QImage& picture);

// True when the array holds exactly the picture's pixels, row by row.
bool arrayHoldsPicture(const TImgTabBGR& arr, const QImage& picture);

// A 24-bit picture of the given size with a pattern that differs in every
// channel and pixel.
QImage patternImage(int width, int height, unsigned seed = 1);

// The text of the TImageError the call throws, or this marker.
inline constexpr char kNothingThrown[] = "(nothing thrown)";
template <class F> QString imageErrorOf(F&& call)
{
    try {
        call();
    } catch (const TImageError& e) {
        return e.text();
    }
    return QString::fromLatin1(kNothingThrown);
}

// Runs the call with files limited to `limit` bytes and SIGXFSZ ignored, so
// that a write fails even for root; false when the limit cannot be set.
bool underFileSizeLimit(std::uint64_t limit, const std::function<void()>& call);

}  // namespace ormica::test
