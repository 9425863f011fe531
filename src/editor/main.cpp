#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "core/catalogue/Catalogue.h"
#include "core/storage/DataDirectory.h"
#include "editor/shell/FMain.h"
#include "editor/shell/Startup.h"

int main(int argc, char* argv[]) {
    // Answered before any window system is needed: they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vxeditr %s\n", VX_VERSION_TEXT);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("%s", qPrintable(vxe::UsageText()));
            return 0;
        }
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("vxeditr"));
    QCoreApplication::setApplicationName(
        QString::fromUtf8(vx::kProgramTitle.data(), static_cast<qsizetype>(vx::kProgramTitle.size())));
    QCoreApplication::setApplicationVersion(QStringLiteral(VX_VERSION_TEXT));
    // The icon the package installs into the desktop's icon theme.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vxeditr")));

    const vxe::StartupArgs args = vxe::ParseArguments(QCoreApplication::arguments(), QDir::currentPath());
    if (args.showHelp) {
        std::printf("%s", qPrintable(vxe::UsageText()));
        return 0;
    }
    if (!args.error.isEmpty()) {
        std::fprintf(stderr, "vxeditr: %s\n%s", qPrintable(args.error), qPrintable(vxe::UsageText()));
        return 2;
    }

    const std::string dataDirectory = vx::FindDataDirectory(QCoreApplication::applicationDirPath().toStdString());
    vxe::FMain main(QString::fromStdString(dataDirectory));
    const int code = vxe::RunStartup(main, args);
    if (code >= 0) return code;
    if (!args.screenshotFile.isEmpty()) vxe::ScheduleScreenshot(main, args.screenshotFile, args.dialog);
    return app.exec();
}
