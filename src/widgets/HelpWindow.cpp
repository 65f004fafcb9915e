#include "widgets/HelpWindow.h"

#include <QApplication>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/StringTable.h"

// The resources live in a static library, whose registration the linker
// would drop unless something refers to it.
static void initTempolatchResources() {
    Q_INIT_RESOURCE(tempolatch);
}

namespace tempolatch {

namespace {
QPointer<HelpWindow> g_window;
const QUrl kHelpFile(QStringLiteral("qrc:/help/Tempolatch.htm"));
}  // namespace

void initResources() {
    static bool done = false;
    if (!done) {
        initTempolatchResources();
        done = true;
    }
}

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("%1 Help").arg(resourceString(str::AppName)));
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(560, 620);
    // Esc puts the help away, as it does a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

HelpWindow* HelpWindow::current() {
    return g_window;
}

HelpWindow* HelpWindow::showTopic(const QString& anchor) {
    initResources();
    if (!g_window)
        g_window = new HelpWindow;
    // A modal dialog blocks every window but its own: while one is open the
    // help window must belong to it to be read and scrolled.
    QWidget* owner = QApplication::activeModalWidget();
    if (g_window->parentWidget() != owner)
        g_window->setParent(owner, Qt::Window);
    g_window->openTopic(anchor);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

void HelpWindow::openTopic(const QString& anchor) {
    QUrl url = kHelpFile;
    url.setFragment(anchor);
    // The same topic again: the reader may have scrolled away from it.
    if (m_browser->source() == url)
        m_browser->scrollToAnchor(anchor);
    else
        m_browser->setSource(url);
}

QString HelpWindow::topic() const {
    return m_browser->source().fragment();
}

}  // namespace tempolatch
