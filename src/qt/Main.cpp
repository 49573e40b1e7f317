// SPDX-License-Identifier: MIT
// cluemill [--data-dir DIR]: the desktop program.
#include "app/Main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTimer>

#include "Version.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
        QStringLiteral("Keep Patterns.rec and the output folders in DIR "
                       "instead of the program's folder."),
        QStringLiteral("DIR"));
    // Saves a picture of the window as shown at start and ends: for the
    // documentation.
    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("FILE"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(dataDir);
    parser.addOption(screenshot);
    parser.process(app);

    const QString folder =
        parser.isSet(dataDir) ? parser.value(dataDir) : QCoreApplication::applicationDirPath();
    cluemill::QtPlatform platform(QFile::encodeName(folder).toStdString());
    cluemill::Main engine(platform);
    cluemill::MainWindow window(engine, platform);
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
