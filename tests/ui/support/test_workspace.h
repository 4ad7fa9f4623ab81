#pragma once

#include "core/engine/image_control.h"
#include "ui/workspace/workspace.h"

#include <QTemporaryDir>

namespace ormica::test {

// The workspace of one window test, as fresh as at program start: empty
// arrays, the initial working filter, no base names. A target image control
// of its own stands for the main window's, and the program folder is a
// temporary one that goes with the workspace.
class TTestWorkspace : public TWorkspace {
public:
    TTestWorkspace()
    {
        ProgramDir = dir.path();
        TrgImageRef = &target;
    }

    QTemporaryDir dir;
    TImageControl target{QSize(4, 4)};
};

}  // namespace ormica::test
