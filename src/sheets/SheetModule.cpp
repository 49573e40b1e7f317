// SPDX-License-Identifier: MIT
// The renderer as the command line loads it, only when it prints a sheet:
// its Qt libraries would cost every other command its quick start.
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "sheets/Sheet.h"

namespace {

// Qt's own notes (no XDG_RUNTIME_DIR, a font substituted) mean nothing to
// the command's user, who is told what went wrong in the command's words.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

// A QGuiApplication for one sheet, on the offscreen platform unless one is
// asked for: pages go to files, and a display, where there is one, would
// add nothing but a way to fail (one that cannot be reached). It keeps
// references to argc and argv; the program name is all
// it gets, so that no argument of the command is taken for Qt's. Made for
// the sheet only, and destroyed with it: it frees the font caches then.
struct Application {
    static bool Prepare() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(KeepQtQuiet);
        return true;
    }
    bool Prepared = Prepare();  // before the application is made
    int Argc = 1;
    char Name[13] = "cluemill-cli";
    char* Argv[2] = {Name, nullptr};
    QGuiApplication App{Argc, Argv};
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void CluemillWriteSheet(cluemill::SheetJob* job) {
    std::unique_ptr<Application> application;
    if (QGuiApplication::instance() == nullptr) application = std::make_unique<Application>();
    const cluemill::Sheet sheet(std::move(job->Puzzles), job->Options);
    job->Written = cluemill::WriteSheet(sheet, job->Output, job->Format, job->Failed);
}
