// SPDX-License-Identifier: MIT
// cluemill [--data-dir DIR]: the desktop program.
#include "app/Main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <optional>

#include "Version.h"
#include "output/PuzzleFormats.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"

int main(int argc, char** argv) {
    // Beyond a file size limit a write fails instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    // No organisation name: the user's data folder stays ~/.local/share/cluemill.
    QCoreApplication::setApplicationName(QStringLiteral("cluemill"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(cluemill::kVersion));
    // The desktop entry's name: the window's icon and its grouping in task
    // bars (the Wayland app id) come from it.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.cluemill.Cluemill"));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Keep Patterns.rec and the output folders in DIR (default: the "
                       "program's folder when it can be written, else ~/.local/share/cluemill)."),
        QStringLiteral("DIR"));
    // Saves a picture of the window as shown at start and ends: for the
    // documentation.
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("FILE"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(dataDir);
    parser.addOption(screenshot);
    parser.process(app);

    // The program's folder in a build; the user's data folder when the
    // program is installed where it cannot write.
    const auto path = [](const QString& text) {
        return std::filesystem::path(QFile::encodeName(text).toStdString());
    };
    const std::filesystem::path program = path(QCoreApplication::applicationDirPath());
    const std::filesystem::path folder = cluemill::ChooseDataFolder(
        parser.isSet(dataDir) ? std::optional(path(parser.value(dataDir))) : std::nullopt, program,
        cluemill::FolderWritable(program),
        path(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    if (const std::error_code error = cluemill::CreateDataFolder(folder)) {
        QMessageBox box(
            QMessageBox::NoIcon, QStringLiteral("Cluemill"),
            QStringLiteral("Cluemill cannot use the data folder %1:\n%2")
                .arg(QFile::decodeName(folder.c_str()), QString::fromStdString(error.message())),
            QMessageBox::Ok);
        box.exec();
        return 1;
    }
    // A picture for the documentation shows the window as it first starts,
    // whatever the user's settings.
    QTemporaryDir fresh;
    // ~/.config/cluemill/cluemill.conf
    QSettings userSettings(QSettings::NativeFormat, QSettings::UserScope,
                           QStringLiteral("cluemill"), QStringLiteral("cluemill"));
    QSettings freshSettings(fresh.filePath(QStringLiteral("cluemill.conf")), QSettings::IniFormat);
    cluemill::QtPlatform platform(folder.string());
    cluemill::Main engine(platform);
    cluemill::MainWindow window(engine, platform,
                                parser.isSet(screenshot) ? freshSettings : userSettings);
    window.Start();

    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        QTimer::singleShot(0, &window, [&window, file] {
            const bool saved = window.grab().save(file);
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
