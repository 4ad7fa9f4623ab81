#include "core/engine/message_sink.h"

#include <cstdio>

namespace ormica {

namespace {
TStreamMessageSink defaultSink;
TMessageSink* currentSink = nullptr;

void print(const char* prefix, const QString& text)
{
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    std::fprintf(stderr, "%s%s\n", prefix, flat.toUtf8().constData());
}
}  // namespace

TMessageSink& messages()
{
    return currentSink ? *currentSink : defaultSink;
}

TMessageSink* setMessageSink(TMessageSink* sink)
{
    TMessageSink* previous = currentSink;
    currentSink = sink;
    return previous;
}

void TStreamMessageSink::warning(const QString& text)
{
    print("warning: ", text);
}
void TStreamMessageSink::error(const QString& text)
{
    print("error: ", text);
}
void TStreamMessageSink::information(const QString& text)
{
    print("", text);
}

bool TStreamMessageSink::question(const QString& text, TQuestionKind)
{
    print("question: ", text);
    return answer_;
}

}  // namespace ormica
