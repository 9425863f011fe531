#include "editor/shell/Startup.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/format/PathLookup.h"
#include "core/interaction/Interaction.h"
#include "core/midi/MidiLink.h"
#include "core/reports/SetReport.h"
#include "core/storage/Session.h"
#include "core/storage/TemplateSet.h"
#include "core/text/Helpers.h"
#include "editor/check/FCheck.h"
#include "editor/details/Details.h"
#include "editor/library/FLibrary.h"
#include "editor/midi/FMidStup.h"
#include "editor/midi/MidiTransfer.h"
#include "editor/reports/FReport.h"
#include "editor/shell/FAbout.h"
#include "editor/shell/FMain.h"
#include "editor/shell/FOptions.h"
#include "editor/shell/FTip.h"

namespace vxe {

namespace {

// A tab by its caption without the & (any case), or -1.
int TabOfName(const QString& name) {
    static const char* const captions[] = {"Arrangements", "Styles", "Programs", "Backing Seq", "Songs", "KBD Sets"};
    for (int tab = 0; tab < 6; ++tab)
        if (name.compare(QLatin1String(captions[tab]), Qt::CaseInsensitive) == 0) return tab;
    return -1;
}

}  // namespace

StartupArgs ParseArguments(const QStringList& arguments, const QString& currentDir) {
    StartupArgs args;
    const QDir base(currentDir);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--screenshot")) {
            if (i + 1 >= arguments.size()) {
                args.error = QStringLiteral("--screenshot needs a file name");
                return args;
            }
            args.screenshotFile = QDir::cleanPath(base.absoluteFilePath(arguments[++i]));
        } else if (argument == QStringLiteral("--tab") || argument == QStringLiteral("--bank") ||
                   argument == QStringLiteral("--size")) {
            if (i + 1 >= arguments.size()) {
                args.error = argument + QStringLiteral(" needs a value");
                return args;
            }
            const QString value = arguments[++i];
            if (argument == QStringLiteral("--tab")) {
                args.tab = TabOfName(value);
                if (args.tab < 0) args.error = QStringLiteral("Unknown tab ") + value;
            } else if (argument == QStringLiteral("--bank")) {
                args.bank = value.toUpper();
                if (value.size() != 1 || !value[0].isLetter()) args.error = QStringLiteral("Unknown bank ") + value;
            } else {
                const QStringList parts = value.split(QLatin1Char('x'));
                bool wide = false;
                bool high = false;
                if (parts.size() == 2) args.size = QSize(parts[0].toInt(&wide), parts[1].toInt(&high));
                if (!wide || !high || args.size.width() < 200 || args.size.height() < 200)
                    args.error = QStringLiteral("--size needs WIDTHxHEIGHT, at least 200x200");
            }
            if (!args.error.isEmpty()) return args;
        } else if (argument == QStringLiteral("--twin")) {
            args.twin = true;
        } else if (argument == QStringLiteral("--dialog")) {
            if (i + 1 >= arguments.size()) {
                args.error = QStringLiteral(
                    "--dialog needs a window: global, arrangement-global, details:KIND:LABEL, report, "
                    "check, midi-setup, options, about, tip or library");
                return args;
            }
            args.dialog = arguments[++i];
        } else if (argument == QStringLiteral("--no-tips")) {
            args.noTips = true;
        } else if (argument == QStringLiteral("--version")) {
            args.showVersion = true;
        } else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            args.showHelp = true;
        } else if (argument.startsWith(QStringLiteral("--"))) {
            args.error = QStringLiteral("Unknown option ") + argument;
            return args;
        } else if (!argument.isEmpty()) {
            args.setPaths.append(QDir::cleanPath(base.absoluteFilePath(argument)));
            args.typedPaths.append(argument);
        }
    }
    if (!args.dialog.isEmpty() && args.screenshotFile.isEmpty())
        args.error = QStringLiteral("--dialog needs --screenshot");
    return args;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: vxeditr [options] [SET directory...]\n"
        "  --screenshot FILE  render the main window to FILE (PNG) after start-up and end\n"
        "  --tab NAME         with --screenshot: show that tab (Arrangements, Styles, Programs,\n"
        "                     \"Backing Seq\", Songs, \"KBD Sets\")\n"
        "  --bank LETTER      with --screenshot: show that bank on a bank tab\n"
        "  --twin             with --screenshot: twin view on the Arrangements or Programs tab\n"
        "  --size WxH         with --screenshot: the main window's size (default 1024x768)\n"
        "  --dialog WHAT      with --screenshot, render a window instead: global,\n"
        "                     arrangement-global or details:KIND:LABEL of the first set\n"
        "                     (details:arr:C11, details:sty:C11, details:prg:F11, details:bsq:3,\n"
        "                     details:sng:3), its report, its check, midi-setup, options,\n"
        "                     about, tip or library (the Library window)\n"
        "  --no-tips          do not show the tip of the day at start-up\n"
        "  --version          print the version and end\n");
}

bool ScreenCheck(vx::Interaction& ui, const QSize& screen) {
    if (screen.width() >= 800 && screen.height() >= 600) return true;
    const vx::Answer answer =
        ui.ShowMessage({"For a correct display, the screen resolution\nshould be at least 800x600 pixels!\n"
                        "Continue anyway?",
                        "Warning", vx::MessageIcon::Exclamation, vx::MessageButtons::YesNo, vx::Answer::No,
                        vx::QuestionId::SmallScreen});
    return answer != vx::Answer::No;
}

std::unique_ptr<vx::Session> CreateSession(const QString& programDir, vx::Options& options, vx::Interaction& ui) {
    const std::string directory = programDir.toStdString();
    auto catalogue = vx::InitCatalogue(directory, std::getenv("TEMP"), ui);
    if (!catalogue) return nullptr;
    vx::PresetTables presets;
    const std::string namesFile = directory + "/" + std::string(vx::kPresetNamesFile);
    const std::string namesPath = vx::FindPathIgnoringCase(namesFile).value_or(namesFile);
    std::vector<int> skippedLines;
    if (!vx::ReadPresetNames(namesPath, presets, &skippedLines)) {
        ui.ShowMessage(
            {vx::PresetNamesErrorText(), "Error", vx::MessageIcon::Critical, vx::MessageButtons::OK, vx::Answer::OK});
        return nullptr;
    }
    if (!skippedLines.empty())
        ui.ShowMessage({vx::SkippedNamesLinesText(namesPath, skippedLines), "Warning", vx::MessageIcon::Exclamation,
                        vx::MessageButtons::OK, vx::Answer::OK});
    return std::make_unique<vx::Session>(std::move(*catalogue), std::move(presets), options, ui);
}

QString CommandLineSetProblem(const QString& path, const QString& typed) {
    if (!QFileInfo(path).isDir()) return "The Set " + typed + " does not exist.";
    // A directory without any of the eight files is not a set: one message says so, rather
    // than one for each file.
    const std::string base = path.toStdString() + "/" + vx::SetNameFromPath(path.toStdString());
    for (int kind = 0; kind < 8; ++kind) {
        const std::string file = base + std::string(vx::KindExtension(vx::KindFromIndex(kind)));
        if (vx::FindPathIgnoringCase(file)) return {};
    }
    return typed + " is not a Set: it holds none of the Set's files.";
}

int RunStartup(FMain& main, const StartupArgs& args) {
    const bool screenshot = !args.screenshotFile.isEmpty();
    QtInteraction& ui = main.Ui();
    // A rendering run never waits for a person.
    ui.SetUnattended(screenshot);

    if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !ScreenCheck(ui, screen->size())) return 0;
    QDir::setCurrent(main.ProgramDir());
    main.LoadSettings();
    if (main.Opts().ShowTips == 1 && !screenshot && !args.noTips) main.ShowTipOfTheDay();

    {
        vx::BusyPointer busy(ui);
        auto session = CreateSession(main.ProgramDir(), main.Opts(), ui);
        if (!session) return 1;
        main.AttachSession(std::move(session));
    }
    main.SetCaption();
    if (args.size.isValid()) main.resize(args.size);
    // The tab to show in this run only: a screenshot run never writes the settings.
    if (args.tab >= 0) main.Opts().ModeId = args.tab;
    main.show();

    vx::Session& session = *main.Session();
    if (!args.setPaths.isEmpty()) {
        for (qsizetype i = 0; i < args.setPaths.size(); ++i) {
            const QString& path = args.setPaths[i];
            const QString problem = CommandLineSetProblem(path, args.typedPaths.value(i, path));
            if (!problem.isEmpty()) {
                ui.ShowMessage({problem.toStdString(), "Error", vx::MessageIcon::Critical, vx::MessageButtons::OK,
                                vx::Answer::OK});
                continue;
            }
            session.OpenOrNewSet(false, path.toStdString());
        }
    } else if (main.Opts().StartOld == 1) {
        // A missing directory falls back to the open dialog.
        session.OpenOrNewSet(false, main.Opts().OldSetNam);
    } else if (!screenshot) {
        session.OpenOrNewSet(false, std::string());
    }
    if ((!args.bank.isEmpty() || args.twin) && !main.ShowBank(args.bank, args.twin))
        std::fprintf(stderr, "vxeditr: the tab shown has no bank %s%s\n", qPrintable(args.bank),
                     args.twin ? " in twin view" : "");
    return -1;
}

std::optional<vx::ItemAddress> DialogAddress(const QString& dialog) {
    if (dialog == QStringLiteral("global")) return vx::ParseItemAddress("gbl");
    if (dialog == QStringLiteral("arrangement-global")) return vx::ParseItemAddress("arg");
    if (!dialog.startsWith(QStringLiteral("details:"))) return std::nullopt;
    return vx::ParseItemAddress(dialog.mid(8).toStdString());
}

namespace {

// The window named on the command line, built on the first open set: a set dialog, the set's
// report or check, MIDI Setup on the ports the MIDI system lists, Options, About or the tip of the day.
std::unique_ptr<QWidget> ScreenshotWindow(FMain& main, const QString& dialog) {
    vx::Session* session = main.Session();
    vx::EditScheme* edits = main.Editing();
    if (!session || !edits) return nullptr;
    int set = 0;
    for (int candidate = session->Sets().HighestNumber(); candidate >= 1; --candidate)
        if (session->Sets().IsOpen(candidate)) set = candidate;
    if (dialog == QStringLiteral("options")) return std::make_unique<FOptions>(main.Opts(), &main);
    if (dialog == QStringLiteral("about")) return std::make_unique<FAbout>(&main);
    if (dialog == QStringLiteral("tip")) return std::make_unique<FTip>(main.ProgramDir(), true, &main);
    if (dialog == QStringLiteral("midi-setup")) {
        vx::MidiLink& link = ProgramMidiLink(session->Ui());
        vx::MidiPortLists lists;
        std::string problem;
        link.ReadPorts(lists, problem);
        return std::make_unique<FMidStup>(link, lists, problem, &main);
    }
    if (dialog == QStringLiteral("library")) {
        auto library = std::make_unique<FLibrary>(main.LibraryFile(), &main);
        library->resize(820, 420);
        return library;
    }
    if (set == 0) return nullptr;
    if (dialog == QStringLiteral("report"))
        return std::make_unique<FReport>(*session, set, vx::CreateSetReport(*session, set, vx::ReportDateNow()), &main);
    if (dialog == QStringLiteral("check")) return std::make_unique<FCheck>(*session, set, &main);
    const auto address = DialogAddress(dialog);
    if (!address) return nullptr;
    return NewDetailsDialog(*edits, *session, set, *address, &main);
}

}  // namespace

void ScheduleScreenshot(FMain& main, const QString& file, const QString& dialog) {
    QTimer::singleShot(0, &main, [&main, file, dialog] {
        QApplication::processEvents();
        std::unique_ptr<QWidget> shown;
        if (!dialog.isEmpty()) {
            shown = ScreenshotWindow(main, dialog);
            if (!shown) {
                std::fprintf(stderr, "vxeditr: no window %s to show\n", qPrintable(dialog));
                QCoreApplication::exit(1);
                return;
            }
            shown->show();
            QApplication::processEvents();
        }
        const bool saved = (shown ? shown->grab() : main.grab()).save(file, "PNG");
        if (!saved) std::fprintf(stderr, "vxeditr: cannot write %s\n", qPrintable(file));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

}  // namespace vxe
