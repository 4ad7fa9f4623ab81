#pragma once

#include <QFileDevice>
#include <QString>

namespace ormica {

// The program's words for a system error code: the common ones in Russian,
// any other as the system puts it. A sentence with its full stop.
QString SystemErrorText(int code);

// Why the file cannot be opened for reading, or an empty text when it can.
// Something that is not a regular file (a folder, a pipe, a device) is
// refused without opening it: a pipe could block, a device could act.
QString ReadFailureReason(const QString& fileName);

// "Не могу открыть файл "NAME".\r\nREASON"
QString CannotOpenText(const QString& fileName, const QString& reason);

// Why a save must not replace what the name stands for (followed through
// symbolic links), or an empty text. A save writes a new file and renames
// it over the old one, which would put a regular file in the place of a
// device, a pipe or a socket.
QString SaveTargetRefusal(const QString& fileName);

// Why a new file cannot be made under this name: the folder is missing, is
// not one, or cannot be written to (no permission, a read-only disk).
QString SaveOpenFailureReason(const QString& fileName);

// Why writing the file failed. Qt reports a write cut short by the
// file-size limit or a full disk as a short count, with no reason of its
// own; those two are told from the limit and the disk's room.
QString WriteFailureReason(const QFileDevice& file);

// A write past the process's file-size limit then fails as on a full disk,
// with EFBIG, instead of ending the process with SIGXFSZ. Called at start by
// each program.
void IgnoreFileSizeSignal();

}  // namespace ormica
