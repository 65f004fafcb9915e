#include "app/GuiMain.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "app/DataFileArgument.h"
#include "app/MainFrame.h"
#include "app/SingleInstance.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/StringTable.h"
#include "platform/WidgetUi.h"
#include "settings/Context.h"
#include "settings/Settings.h"
#include "settings/StoreChoice.h"
#include "store/RecordStore.h"
#include "widgets/DesktopStyle.h"
#include "widgets/HelpWindow.h"

namespace tempolatch {

bool confirmNewProfile(platform::Ui& ui) {
    const QString folder = platform::Profile::folder();
    if (!platform::Profile::isChosen() || QFileInfo::exists(folder))
        return true;
    return ui.question(QStringLiteral("There is no profile at %1.\n\nStart a new, empty profile "
                                      "there?")
                           .arg(QDir::toNativeSeparators(folder)));
}

int runGui(int argc, char* argv[], const QStringList& args) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(resourceString(str::AppName));
    // Matches the installed desktop entry: its icon and its name in the shell.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tempolatch.Tempolatch"));
    // The help window may outlive the main window for a moment; the program
    // ends with the main window.
    QApplication::setQuitOnLastWindowClosed(false);

    // A second start hands over before it touches settings or store.
    SingleInstance instance;
    if (instance.start(args) == SingleInstance::Start::HandedOver)
        return 0;

    initResources();
    DesktopStyle::apply(app);
    // The one store, settings and message-box seam of this run.
    platform::WidgetUi ui;
    if (!confirmNewProfile(ui))
        return 0;
    Settings settings;
    RecordStore store;
    Context context{store, settings, ui, platform::Registry::user()};
    storechoice::apply(context.registry);
    int code = 1;
    {
        MainFrame frame(context);
        if (frame.create()) {
            QObject::connect(&instance, &SingleInstance::activationRequested, &frame,
                             [&frame](const QStringList& handed) {
                                 frame.bringToFront();
                                 frame.openDataFile(dataFileArgument(handed));
                             });
            QObject::connect(&frame, &MainFrame::closed, &app, &QApplication::quit,
                             Qt::QueuedConnection);
            frame.show();
            frame.bringToFront();
            // Once the window is on screen, so that the question has it behind.
            QMetaObject::invokeMethod(
                &frame, [&frame, &args] { frame.openDataFile(dataFileArgument(args)); },
                Qt::QueuedConnection);
            code = app.exec();
        }
    }
    return code;
}

}  // namespace tempolatch
