#include "shell/Startup.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueInit.h"
#include "details/Details.h"
#include "format/PathLookup.h"
#include "interaction/Interaction.h"
#include "presets/PresetNames.h"
#include "shell/FMain.h"
#include "storage/Session.h"

namespace vxe {

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
        } else if (argument == QStringLiteral("--dialog")) {
            if (i + 1 >= arguments.size()) {
                args.error =
                    QStringLiteral("--dialog needs a dialog: global, arrangement-global or details:KIND:LABEL");
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
        "  --dialog WHAT      with --screenshot, render a dialog of the first set instead:\n"
        "                     global, arrangement-global, or details:KIND:LABEL (details:arr:C11,\n"
        "                     details:sty:C11, details:prg:F11, details:bsq:3, details:sng:3)\n"
        "  --no-tips          do not show the tip of the day at start-up\n"
        "  --version          print the version and end\n");
}

bool ScreenCheck(vx::Interaction& ui, const QSize& screen) {
    if (screen.width() >= 800 && screen.height() >= 600) return true;
    const vx::Answer answer =
        ui.ShowMessage({"For a correct display, the screen resolution\nshould be at least 800x600 pixels!\n"
                        "Continue anyway?",
                        "Warning", vx::MessageIcon::Exclamation, vx::MessageButtons::YesNo, vx::Answer::Yes});
    return answer != vx::Answer::No;
}

std::unique_ptr<vx::Session> CreateSession(const QString& programDir, vx::Options& options, vx::Interaction& ui) {
    const std::string directory = programDir.toStdString();
    auto catalogue = vx::InitCatalogue(directory, std::getenv("TEMP"), ui);
    if (!catalogue) return nullptr;
    vx::PresetTables presets;
    const std::string namesFile = directory + "/" + std::string(vx::kPresetNamesFile);
    if (!vx::ReadPresetNames(vx::FindPathIgnoringCase(namesFile).value_or(namesFile), presets)) {
        ui.ShowMessage(
            {vx::PresetNamesErrorText(), "Error", vx::MessageIcon::Critical, vx::MessageButtons::OK, vx::Answer::OK});
        return nullptr;
    }
    return std::make_unique<vx::Session>(std::move(*catalogue), std::move(presets), options, ui);
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
    main.show();

    vx::Session& session = *main.Session();
    if (!args.setPaths.isEmpty()) {
        for (const QString& path : args.setPaths) session.OpenOrNewSet(false, path.toStdString());
    } else if (main.Opts().StartOld == 1) {
        // A missing directory falls back to the open dialog.
        session.OpenOrNewSet(false, main.Opts().OldSetNam);
    } else if (!screenshot) {
        session.OpenOrNewSet(false, std::string());
    }
    return -1;
}

std::optional<vx::ItemAddress> DialogAddress(const QString& dialog) {
    if (dialog == QStringLiteral("global")) return vx::ParseItemAddress("gbl");
    if (dialog == QStringLiteral("arrangement-global")) return vx::ParseItemAddress("arg");
    if (!dialog.startsWith(QStringLiteral("details:"))) return std::nullopt;
    return vx::ParseItemAddress(dialog.mid(8).toStdString());
}

namespace {

// The dialog named on the command line, built on the first open set.
std::unique_ptr<QDialog> ScreenshotDialog(FMain& main, const QString& dialog) {
    vx::Session* session = main.Session();
    const auto address = DialogAddress(dialog);
    vx::EditScheme* edits = main.Edits();
    if (!session || !edits || !address) return nullptr;
    for (int set = 1; set <= session->Sets().HighestNumber(); ++set)
        if (session->Sets().IsOpen(set)) return NewDetailsDialog(*edits, *session, set, *address, &main);
    return nullptr;
}

}  // namespace

void ScheduleScreenshot(FMain& main, const QString& file, const QString& dialog) {
    QTimer::singleShot(0, &main, [&main, file, dialog] {
        QApplication::processEvents();
        std::unique_ptr<QDialog> shown;
        if (!dialog.isEmpty()) {
            shown = ScreenshotDialog(main, dialog);
            if (!shown) {
                std::fprintf(stderr, "vxeditr: no dialog %s for the first open set\n", qPrintable(dialog));
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
