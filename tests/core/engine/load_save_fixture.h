#pragma once

// The picture-file service with recorders and scripted dialogs around it, in
// a temporary folder of its own.

#include "core/engine/load_save_image.h"
#include "recorders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace ormica::test {

struct LoadSaveFixture : ::testing::Test {
    QTemporaryDir dir;
    RecordingSink sink;
    RecordingProgress progress;
    RecordingPanel panel;
    ScriptedDialogs dialogs;
    TLoadSaveImage service{&progress, &panel, &dialogs};
    TImageControl image{QSize(161, 145)};

    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    void choose(const QString& file, int filter) { dialogs.choices.push_back(TFileChoice{file, filter}); }
    void givePicture(const QImage& picture, const char* name)
    {
        image.setPicture(picture);
        service.SetImageDesc(image, QLatin1String(name), skOperation, pf24bit);
    }
};

}  // namespace ormica::test
