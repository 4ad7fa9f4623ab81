#pragma once

#include "core/engine/message_sink.h"

class QWidget;

namespace ormica {

// Shows the core's messages as modal boxes over the given window.
class TBoxMessageSink : public TMessageSink {
public:
    explicit TBoxMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void warning(const QString& text) override;
    void warningYes(const QString& text) override;
    void error(const QString& text) override;
    bool question(const QString& text, TQuestionKind kind) override;
    void information(const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace ormica
