#pragma once

#include "recorders.h"
#include "test_workspace.h"
#include "ui/engine/color_dialog.h"

#include <memory>
#include <optional>
#include <vector>

namespace ormica::test {

// Answers the colour question with `answer` (none: cancelled); keeps the
// colours it was asked with.
class ScriptedColors : public TColorQuestion {
public:
    std::optional<TColor> askColor(TColor initial) override
    {
        asked.push_back(initial);
        return answer;
    }
    std::optional<TColor> answer;
    std::vector<TColor> asked;
};

// What every window test starts from: a fresh workspace and a sink that
// records the messages. A test class derives from it, calls start() in its
// init() before making its windows and stop() in its cleanup() after
// dropping them.
class TWindowTest {
protected:
    void start()
    {
        ws = std::make_unique<TTestWorkspace>();
        sink = std::make_unique<RecordingSink>();
    }
    void stop()
    {
        sink.reset();
        ws.reset();
    }

    std::unique_ptr<TTestWorkspace> ws;
    std::unique_ptr<RecordingSink> sink;
};

}  // namespace ormica::test
