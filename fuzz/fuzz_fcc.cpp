// The function-file reader: every byte sequence is either refused, leaving
// the caller's function as it was, or loaded as pairs on 0..255 that survive
// a write and a second read unchanged, and that the editor takes in, in
// order of input brightness, within the time limit however many they are.
#include "core/engine/image_error.h"  // fuzz_input.h needs it first
#include "core/transfer/fcc_file.h"
#include "core/transfer/point_list.h"
#include "fuzz_input.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ormica;
    static fuzz::QuietSink sink;
    setMessageSink(&sink);
    const QString file = fuzz::writeInput(data, size, ".fcc");
    if (file.isEmpty())
        return 0;
    const TBrightPointArray sentinel{{-1, -1}};
    TBrightPointArray points = sentinel;
    TFccReadState state;
    if (!LoadFccFile(file, points, state)) {
        if (points != sentinel ||
            (state.FileError.isEmpty() && state.InErrors + state.OutErrors == 0 && !state.FccLines.empty()))
            __builtin_trap();
        return 0;
    }
    if (points.size() > state.FccLines.size())
        __builtin_trap();
    for (const TBrightPoint& p : points)
        if (p.X < 0 || p.X > 255 || p.Y < 0 || p.Y > 255)
            __builtin_trap();
    if (points.empty())
        return 0;
    TPointEditorModel editor;
    editor.SetPoints(points);
    const TBrightPointArray held = editor.GetPoints();
    for (std::size_t i = 1; i < held.size(); ++i)
        if (held[i].X < held[i - 1].X)
            __builtin_trap();
    static const QString copy = file + QStringLiteral(".copy.fcc");
    if (!WriteFccFile(copy, points))
        return 0;
    TBrightPointArray again;
    TFccReadState second;
    if (!LoadFccFile(copy, again, second) || again != points)
        __builtin_trap();
    QFile::remove(copy);
    return 0;
}
