#pragma once

// The pieces every command of ormica-cli is built from: the command table,
// the parsed command line, numbers, and loading and saving pictures.

#include "core/engine/image_control.h"
#include "core/engine/load_save_image.h"
#include "core/engine/progress.h"

#include "core/engine/img_tab.h"
#include "core/explain/operation_record.h"
#include "core/filter/filter_kernel.h"
#include "core/microbase/filter_rec.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <functional>
#include <span>
#include <vector>

namespace ormica::cli {

constexpr int kSuccess = 0;
constexpr int kFailed = 1;  // a file that cannot be used, or an operation that failed
constexpr int kUsage = 2;   // a wrong command line

// Thrown to end a command; main prints the text and exits with the status.
struct UsageError {
    QString text;
};
struct Failure {
    QString text;
};

// Prints "ormica-cli: TEXT" on one line of stderr.
void printMessage(const QString& text);

// An option of a command. valueNames holds one word per value ("ROW COL"
// takes two values); an empty one makes a flag.
// Descriptions, summaries and group titles are QT_TRANSLATE_NOOP("CliHelp",
// ...) texts: the tables are built before the language is chosen, so they
// are translated where help shows them. A description naming what a table
// of the core holds is made at use by `describe` instead.
struct CommandOption {
    const char* name;
    const char* valueNames;
    const char* description;
    QString (*describe)() = nullptr;
};

struct CommandArgument {
    const char* name;
    const char* description;
    QString (*describe)() = nullptr;
};

// The description as help shows it, in the language chosen.
QString describe(const CommandOption& option);
QString describe(const CommandArgument& argument);
// "a, b or c" in the language chosen.
QString orList(const QStringList& items);

class Invocation;

// What an operation run for `explain` read, did and wrote, in place of its
// output file.
struct ExplainCapture {
    TOperationRecord record;
    bool described = false;  // the operation has filled in the record
    QImage written;
};

struct Command {
    const char* name;
    // The order and grouping of the arguments and options, by name only, as
    // "(--zoom | --size [--keep-proportions]) IN OUT [--quality]"; each option
    // is shown with its value names. Null: the arguments in order, then each
    // option in brackets.
    const char* layout;
    const char* summary;
    std::vector<CommandArgument> arguments;  // positional, all required
    std::vector<CommandOption> options;
    int (*run)(const Invocation&);
};

struct CommandGroup {
    const char* title;
    std::span<const Command> commands;
};

// One group per file. A new group: its file, its function declared here, a
// line in the group table of main.cpp and one in CMakeLists.txt.
std::span<const Command> pictureCommands();
std::span<const Command> histogramCommands();
std::span<const Command> transferCommands();
std::span<const Command> filterCommands();
std::span<const Command> fdbCommands();
std::span<const Command> textCommands();
std::span<const Command> explainCommands();

// Runs `explain`: `args` are everything after its name; `find` gives the
// command an operation's name names, or null.
int runExplain(const Command& explain, const QStringList& args, const Command* (*find)(const QString& name));

// Record N of the filter base FILE, as the database window reads it; a
// missing base or record throws Failure, a number that is not one is a usage error.
TFilterRec fdbRecord(const Invocation& call, const QString& file, const QString& number);

// A command line parsed against its command: the positional arguments in
// their declared order and the values of each option.
class Invocation {
public:
    Invocation(const Command& command, const QCommandLineParser& parser);

    const Command& command() const { return command_; }
    // Set while the operation runs for `explain`: it describes itself there,
    // and its picture is kept there instead of being written.
    ExplainCapture* capture() const { return capture_; }
    void setCapture(ExplainCapture* capture) { capture_ = capture; }
    // The operation's record to fill in, when it runs for `explain`.
    TOperationRecord* describe(TOperationRecord::TKind kind) const;
    const QString& arg(int index) const { return positional_.at(index); }
    bool isSet(const char* option) const;
    // The option's values, as many as it declares names for; empty when unset.
    QStringList values(const char* option) const;

    // A wrong command line, naming the command.
    [[noreturn]] void usageError(const QString& text) const;

    // Numbers with a decimal point; empty, non-finite or partly numeric texts
    // are usage errors naming `what`.
    int wholeNumber(const QString& text, const QString& what) const;
    double realNumber(const QString& text, const QString& what) const;
    long double extendedNumber(const QString& text, const QString& what) const;

private:
    const Command& command_;
    const QCommandLineParser& parser_;
    QStringList positional_;
    ExplainCapture* capture_ = nullptr;
};

// Parses a command's arguments (without the command name); usage errors throw.
// Returns false when help was asked for instead.
bool parseCommandLine(const Command& command, const QStringList& args, QCommandLineParser& parser);
QString commandHelp(const Command& command);
// Everything after the command's name, for help and errors: the layout with
// each option's value names.
QString synopsis(const Command& command);

// The IN argument of every command that reads a picture.
inline constexpr CommandArgument kPictureIn{
    "IN", QT_TRANSLATE_NOOP("CliHelp", "BMP, либо JPEG, PNG, TIFF или WebP, определяемый по расширению.")};

// The --quality option shared by every command that writes a picture.
CommandOption qualityOption();

// The --ready option of the commands that take a ready-made kernel, and the
// kernel it names; another name is a usage error.
CommandOption readyOption();
TFilterKernel readyKernel(const Invocation& call);

// The extensions OUT may have, for help and errors: ".jpg, .jpeg, ... or .webp".
QString outputExtensions();

// Loads and saves pictures as the program does, BMP files recognised by
// their contents, the other kinds by extension (JPEG when none fits).
// Failures throw Failure.
class PictureFiles {
public:
    explicit PictureFiles(const Invocation& invocation);

    TProgress* progress() { return &progress_; }
    void load(const QString& file, TImageControl& image);
    // Refuses a name whose extension gives no picture type; call before the
    // work so that a wrong name costs nothing.
    void checkOutputName(const QString& file) const;
    void save(const QString& file, TImageControl& image);

private:
    TSilentProgress progress_;
    ExplainCapture* capture_;
    TStoredTextPanel panel_;
    TLoadSaveImage service_;
};

// Runs an array operation of the program on IN, source array in, target
// array out, and writes OUT. Each copy of the picture goes as soon as the next
// one is made, so that at most two full-size copies are alive at a time.
using ArrayOperation = std::function<void(const TImgTabBGR& source, TImgTabBGR& target)>;
int arrayOperation(PictureFiles& files, const QString& in, const QString& out, const ArrayOperation& operation);

// Writes the array to OUT as a picture, letting the array go as soon as the
// picture is made. An empty array is a failure.
int saveArray(PictureFiles& files, TImgTabBGR& target, const QString& out);

}  // namespace ormica::cli
