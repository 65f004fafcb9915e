#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

#include "common/EnvironmentTest.h"
#include "common/ModalDialog.h"
#include "common/TestRegistry.h"
#include "editing/EntryEditor.h"
#include "editing/EntryNotePage.h"
#include "notes/InkControl.h"
#include "notes/InkSurface.h"
#include "notes/NoteCommands.h"
#include "settings/Settings.h"
#include "widgets/DialogBar.h"
#include "widgets/Mnemonics.h"

using namespace tempolatch;
namespace Cmd = tempolatch::NoteCommand;

// The entry editor's Note page reached as the user reaches it: each command
// through the page's own bar (or the control's format buttons), in the bar
// the menu-bar option chooses.
class NotePageTest : public test::EnvironmentTest {
    Q_OBJECT

    static QString text(const InkControl* ink) { return ink->surface()->toPlainText(); }

    // The one item of the page that runs `id`.
    static QList<QAction*> itemsOf(EntryNotePage* page, int id) {
        QList<QAction*> items;
        for (QAction* action : page->findChildren<QAction*>()) {
            if (!action->menu() && !action->isSeparator() && action->data().toInt() == id)
                items.append(action);
        }
        return items;
    }

    // A new entry's editor, shown on its Note page with the bar of the option.
    std::unique_ptr<EntryEditor> openOnNote(bool softKeys) {
        m_env->settings().setFlag(SoftKeyMenus, softKeys);
        auto editor =
            std::make_unique<EntryEditor>(m_env->context(), nullptr, false, EntryEditor::NotePage);
        editor->show();
        if (!QTest::qWaitForWindowExposed(editor.get()))
            qWarning("the editor was not shown");
        return editor;
    }

private Q_SLOTS:
    void barFollowsTheMenuBarOption_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("classic") << false << QStringList{"Edit", "View", "Draw", "Edit In Word"};
        QTest::newRow("soft keys") << true << QStringList{"View", "Menu"};
    }
    void barFollowsTheMenuBarOption() {
        QFETCH(bool, softKeys);
        QFETCH(QStringList, buttons);
        const std::unique_ptr<EntryEditor> editor = openOnNote(softKeys);
        auto* page = editor->findChild<EntryNotePage*>();
        DialogBar* bar = page->commandBar();
        QVERIFY(bar);
        QCOMPARE(bar->kind(), softKeys ? DialogBar::Kind::SoftKeys : DialogBar::Kind::Classic);
        QStringList shown;
        for (QToolButton* button : bar->findChildren<QToolButton*>()) {
            if (button->isVisible() && !button->text().isEmpty())
                shown.append(button->text().remove(QLatin1Char('&')));
        }
        QCOMPARE(shown, buttons);
        // Soft keys sit under the note, the classic bar above it.
        const int barTop = bar->mapTo(page, QPoint()).y();
        const int noteTop = page->control()->mapTo(page, QPoint()).y();
        QCOMPARE(barTop > noteTop, softKeys);
        // From the keyboard: Alt+V opens View; in each menu every item has
        // a letter of its own.
        for (QMenu* menu : bar->findChildren<QMenu*>()) {
            Q_EMIT menu->aboutToShow();
            QString letters;
            for (QAction* item : menu->actions()) {
                if (item->isSeparator())
                    continue;
                const QChar letter = mnemonics::of(item->text());
                QVERIFY2(!letter.isNull() && !letters.contains(letter), qPrintable(item->text()));
                letters.append(letter);
            }
        }
        auto opened = std::make_shared<QString>();
        test::whenFound<QMenu>(
            [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
            [opened](QMenu* menu) {
                *opened = menu->objectName();
                menu->close();
            },
            3000);
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor.get()));
        QTest::keyClick(editor.get(), Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE(*opened, QStringLiteral("noteViewMenu"));

        // The bar goes with the page: the General page does not show it.
        editor->tabs()->setCurrentIndex(0);
        QVERIFY(!bar->isVisible());
    }

    void eachCommandFromThePage_data() {
        QTest::addColumn<bool>("softKeys");
        QTest::addColumn<int>("id");
        for (const bool softKeys : {false, true}) {
            for (const int id : noteCommands()) {
                const QString name = QStringLiteral("%1: %2").arg(
                    softKeys ? QStringLiteral("soft keys") : QStringLiteral("classic"),
                    noteCommandText(id));
                QTest::newRow(qPrintable(name)) << softKeys << id;
            }
        }
    }
    void eachCommandFromThePage() {
        QFETCH(bool, softKeys);
        QFETCH(int, id);
        const std::unique_ptr<EntryEditor> editor = openOnNote(softKeys);
        auto* page = editor->findChild<EntryNotePage*>();
        InkControl* ink = page->control();
        const QList<QAction*> items = itemsOf(page, id);
        QCOMPARE(items.size(), 1);
        QAction* item = items.first();

        const QString typed = QStringLiteral("call notes");
        QTest::keyClicks(ink->surface(), typed);
        const QString file = m_env->filePath(QStringLiteral("note.txt"));
        QString opened;
        switch (id) {
            case Cmd::Redo:
                ink->execute(Cmd::Undo);
                break;
            case Cmd::Cut:
            case Cmd::Copy:
            case Cmd::Delete:
            case Cmd::Bold:
            case Cmd::Italic:
            case Cmd::Underline:
                ink->execute(Cmd::SelectAll);
                break;
            case Cmd::Paste:
                QApplication::clipboard()->setText(QStringLiteral(" and more"));
                break;
            case Cmd::Zoom100:
                ink->setZoom(200);
                break;
            case Cmd::Import: {
                QFile out(file);
                QVERIFY(out.open(QIODevice::WriteOnly));
                out.write("imported text");
                out.close();
                m_env->ui().queueFile(file);
                m_env->ui().queueFilter(3);
                break;
            }
            case Cmd::Export:
                m_env->ui().queueFile(file);
                m_env->ui().queueFilter(4);
                break;
            case Cmd::EditInWord:
                m_env->ui().setDocumentOpener([&opened](const QUrl& url) {
                    opened = url.toLocalFile();
                    return true;
                });
                m_env->ui().queueAnswer(platform::Answer::Cancel);
                ink->setModified(false);
                break;
            default:
                break;
        }

        // A menu sets its items' states as it opens.
        if (auto* menu = qobject_cast<QMenu*>(item->parent()))
            Q_EMIT menu->aboutToShow();
        QVERIFY(item->isEnabled());
        item->trigger();

        switch (id) {
            case Cmd::Undo:
                QVERIFY(text(ink).isEmpty());
                QVERIFY(ink->isEnabled(Cmd::Redo));
                break;
            case Cmd::Redo:
                QCOMPARE(text(ink), typed);
                break;
            case Cmd::Cut:
                QVERIFY(text(ink).isEmpty());
                QCOMPARE(QApplication::clipboard()->text(), typed);
                break;
            case Cmd::Copy:
                QCOMPARE(text(ink), typed);
                QCOMPARE(QApplication::clipboard()->text(), typed);
                break;
            case Cmd::Paste:
                QCOMPARE(text(ink), typed + QStringLiteral(" and more"));
                break;
            case Cmd::SelectAll:
                QCOMPARE(ink->surface()->textCursor().selectedText(), typed);
                break;
            case Cmd::Delete:
            case Cmd::ClearAll:
                QVERIFY(text(ink).isEmpty());
                QVERIFY(ink->isModified());
                break;
            case Cmd::WritingMode:
                QCOMPARE(ink->view(), InkControl::View::Writing);
                QCOMPARE(text(ink), typed);
                if (!softKeys)
                    QVERIFY(item->isChecked());  // the Draw button shows the view
                break;
            case Cmd::RecordingToolbar:
                QVERIFY(ink->findChild<QToolBar*>(QStringLiteral("recordingToolbar"))->isVisible());
                QVERIFY(ink->isChecked(id));
                break;
            case Cmd::EditInWord:
                QVERIFY(opened.endsWith(QStringLiteral(".rtf")));
                QVERIFY(!QFile::exists(opened));
                QVERIFY(ink->isModified());
                break;
            case Cmd::Import:
                QCOMPARE(text(ink), QStringLiteral("imported text"));
                QVERIFY(ink->isModified());
                break;
            case Cmd::Export: {
                QFile in(file);
                QVERIFY(in.open(QIODevice::ReadOnly));
                QCOMPARE(in.readAll().trimmed(), typed.toLatin1());
                break;
            }
            case Cmd::Zoom75:
            case Cmd::Zoom100:
            case Cmd::Zoom150:
            case Cmd::Zoom200:
                QCOMPARE(ink->zoom(), noteCommandText(id).chopped(1).toInt());
                break;
            case Cmd::WrapToWindow:
                QVERIFY(!ink->wrapsToWindow());
                break;
            default:  // the formats and lists
                QVERIFY(ink->isChecked(id));
                break;
        }

        // What the page's commands did is what OK takes into the entry.
        QVERIFY(page->apply());
        QCOMPARE(editor->entry().note, ink->noteData());
    }
};

TEMPOLATCH_TEST(NotePageTest);
#include "NotePageTest.moc"
