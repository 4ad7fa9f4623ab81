#pragma once

#include <QString>

namespace ormica {

// How a question is put: the two kinds of Yes/No boxes the program shows.
enum class TQuestionKind { Confirmation, Information };

// Where the core's messages go. The windows install boxes; the command-line
// tool prints; tests record. Texts arrive exactly as the user must read them.
class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    // A warning box with one OK button.
    virtual void warning(const QString& text) = 0;
    // A warning box whose one button is Yes; elsewhere a plain warning.
    virtual void warningYes(const QString& text) { warning(text); }
    // An error box (an error that ended a command).
    virtual void error(const QString& text) = 0;
    // A Yes/No box; true for Yes.
    virtual bool question(const QString& text, TQuestionKind kind) = 0;
    virtual void information(const QString& text) = 0;
};

// The sink every core routine reports to. Never null: without an installed
// sink, messages go to the standard error stream and questions get No.
TMessageSink& messages();

// Installs a sink (not owned) and returns the previous one; null restores the default.
TMessageSink* setMessageSink(TMessageSink* sink);

// Prints to stderr; questions get the fixed answer given.
class TStreamMessageSink : public TMessageSink {
public:
    explicit TStreamMessageSink(bool answer = false) : answer_(answer) {}
    void warning(const QString& text) override;
    void error(const QString& text) override;
    bool question(const QString& text, TQuestionKind kind) override;
    void information(const QString& text) override;

private:
    bool answer_;
};

}  // namespace ormica
