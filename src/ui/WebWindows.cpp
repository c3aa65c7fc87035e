#include "ui/WebWindows.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QOpenGLContext>
#include <QStringList>

QT_BEGIN_NAMESPACE
// Qt's own, exported for its modules; the web engine's views share the context set here.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace selvane::ui {

namespace {

const WebWindows* table = nullptr;

// What Qt::AA_ShareOpenGLContexts set before the application would have made, made now: the
// web engine expects it before its library loads, and only then stays quiet and shares it.
void shareGlContexts() {
    if (QOpenGLContext::globalShareContext()) return;
    auto* context = new QOpenGLContext;
    context->create();
    qt_gl_set_global_share_context(context);
    // Qt warns that the attribute belongs before the application; the context it stands for
    // exists now, made as the application would have made it, so the warning is dropped.
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(previous);
    qAddPostRoutine([] {
        QOpenGLContext* shared = QOpenGLContext::globalShareContext();
        qt_gl_set_global_share_context(nullptr);
        delete shared;
    });
}

}  // namespace

void useWebWindows(const WebWindows& windows) { table = &windows; }

const WebWindows& webWindows() {
    if (table) return *table;
    shareGlContexts();
    QString reasons;
    const QString folder = QCoreApplication::applicationDirPath();
    // Beside the executable in a build; in the package's library folder once installed.
    for (const QString& file : {folder + QStringLiteral("/selvane-windows.so"),
                                folder + QStringLiteral("/" SELVANE_WINDOWS_FROM_BIN "/selvane-windows.so")}) {
        // Never unloaded: the windows' code runs until the program ends.
        QLibrary library(file);
        using Entry = const WebWindows* (*)();
        if (auto entry = reinterpret_cast<Entry>(library.resolve("selvane_web_windows"))) {
            table = entry();
            return *table;
        }
        reasons += QStringLiteral("\n  ") + library.errorString();
    }
    qFatal("selvane: cannot load the program's windows:%s", qPrintable(reasons));
}

}  // namespace selvane::ui
