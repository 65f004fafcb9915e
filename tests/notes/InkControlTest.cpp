#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointingDevice>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabletEvent>
#include <QTextBlock>
#include <QTextDocument>

#include "NoteTestSupport.h"
#include "common/EnvironmentTest.h"
#include "common/TestRegistry.h"
#include "notes/InkControl.h"
#include "notes/InkSurface.h"
#include "notes/NoteCommands.h"
#include "notes/NoteMenus.h"

using namespace tempolatch;
namespace Cmd = tempolatch::NoteCommand;

class InkControlTest : public test::EnvironmentTest {
    Q_OBJECT

    std::unique_ptr<InkControl> m_ink;

    QWidget* viewport() const { return m_ink->surface()->viewport(); }
    void type(const QString& text) { QTest::keyClicks(m_ink->surface(), text); }
    NoteContent content() const { return NoteData::fromBytes(m_ink->noteData()).content(); }
    QString text() const { return test::describe(content().text); }
    void drawStroke(QList<QPoint> points) {
        QTest::mousePress(viewport(), Qt::LeftButton, {}, points.first());
        for (const QPoint& p : points.sliced(1))
            QTest::mouseMove(viewport(), p);
        QTest::mouseRelease(viewport(), Qt::LeftButton, {}, points.last());
    }

private Q_SLOTS:
    void init() {
        EnvironmentTest::init();
        m_ink = std::make_unique<InkControl>(m_env->ui());
        m_ink->resize(400, 300);
        m_ink->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ink.get()));
        m_ink->setFocus();
    }
    void cleanup() {
        m_ink.reset();
        EnvironmentTest::cleanup();
    }

    void untouchedNoteComesBackByteForByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("none") << QByteArray();
        QTest::newRow("ours") << NoteData::encode(test::sampleContent());
        // Valid, but not as this control would write it today.
        NoteContent unmerged;
        unmerged.text.paragraphs = {
            test::paragraph({{QStringLiteral("a"), 0}, {QStringLiteral("b"), 0}})};
        QTest::newRow("ours, older style") << NoteData::encode(unmerged);
        QTest::newRow("foreign") << QByteArray::fromHex("00ff10203040506070");
        QByteArray damaged = NoteData::encode(test::sampleContent());
        damaged[damaged.size() - 3] = char(damaged[damaged.size() - 3] ^ 1);
        QTest::newRow("damaged") << damaged;
    }
    void untouchedNoteComesBackByteForByte() {
        QFETCH(QByteArray, bytes);
        m_ink->setNoteData(bytes);
        // Looking at it in every way changes nothing.
        m_ink->execute(Cmd::WritingMode);
        m_ink->execute(Cmd::Zoom200);
        m_ink->execute(Cmd::WritingMode);
        m_ink->execute(Cmd::WrapToWindow);
        QVERIFY(!m_ink->isModified());
        QCOMPARE(m_ink->noteData(), bytes);
    }

    void foreignNoteIsKeptAndCanOnlyBeReplaced() {
        const QByteArray foreign = QByteArray::fromHex("0100000024000000ffff0300a1b2c3d4");
        m_ink->setNoteData(foreign);
        QVERIFY(m_ink->isForeign());
        QVERIFY(m_ink->findChild<QLabel*>(QStringLiteral("cannotDisplayLabel"))->isVisible());
        QVERIFY(!m_ink->surface()->isVisible());
        for (const int id : noteCommands()) {
            const bool replaceOrSave =
                id == Cmd::ClearAll || id == Cmd::Import || id == Cmd::Export;
            QCOMPARE(m_ink->isEnabled(id), replaceOrSave);
        }
        QVERIFY(!m_ink->execute(Cmd::WritingMode));
        QCOMPARE(m_ink->noteData(), foreign);

        QVERIFY(m_ink->execute(Cmd::ClearAll));
        QVERIFY(!m_ink->isForeign());
        QVERIFY(m_ink->isModified());
        QVERIFY(m_ink->noteData().isEmpty());
        QVERIFY(m_ink->surface()->isVisible());
    }

    void boldToggles() {
        type(QStringLiteral("hello"));
        QVERIFY(!m_ink->isChecked(Cmd::Bold));
        m_ink->execute(Cmd::SelectAll);
        QVERIFY(m_ink->execute(Cmd::Bold));
        QVERIFY(m_ink->isChecked(Cmd::Bold));
        QCOMPARE(text(), QStringLiteral("<b>hello</b>"));
        QVERIFY(m_ink->execute(Cmd::Bold));
        QCOMPARE(text(), QStringLiteral("hello"));

        // Without a selection it applies to what is typed next.
        m_ink->surface()->moveCursor(QTextCursor::End);
        m_ink->execute(Cmd::Italic);
        type(QStringLiteral(" there"));
        m_ink->execute(Cmd::Italic);
        m_ink->execute(Cmd::Underline);
        type(QStringLiteral("!"));
        QCOMPARE(text(), QStringLiteral("hello<i> there</i><u>!</u>"));
    }

    void undoAndRedo() {
        QVERIFY(!m_ink->isEnabled(Cmd::Undo));
        type(QStringLiteral("abc"));
        QVERIFY(m_ink->isEnabled(Cmd::Undo));
        QVERIFY(!m_ink->isEnabled(Cmd::Redo));
        QVERIFY(m_ink->execute(Cmd::Undo));
        QCOMPARE(text(), QString());
        QVERIFY(!m_ink->isModified());
        QVERIFY(m_ink->isEnabled(Cmd::Redo));
        QVERIFY(m_ink->execute(Cmd::Redo));
        QCOMPARE(text(), QStringLiteral("abc"));
        QVERIFY(m_ink->isModified());
    }

    void zoomItems_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("zoom");
        QTest::newRow("75") << Cmd::Zoom75 << 75;
        QTest::newRow("100") << Cmd::Zoom100 << 100;
        QTest::newRow("150") << Cmd::Zoom150 << 150;
        QTest::newRow("200") << Cmd::Zoom200 << 200;
    }
    void zoomItems() {
        QFETCH(int, command);
        QFETCH(int, zoom);
        const QList<int> items = {Cmd::Zoom75, Cmd::Zoom100, Cmd::Zoom150, Cmd::Zoom200};
        const qreal baseSize = m_ink->surface()->font().pointSizeF();
        QVERIFY(m_ink->execute(command));
        QCOMPARE(m_ink->zoom(), zoom);
        for (const int item : items)
            QCOMPARE(m_ink->isChecked(item), item == command);
        QCOMPARE(m_ink->surface()->font().pointSizeF(), baseSize * zoom / 100.0);
        // Loading another note keeps the zoom of its text.
        m_ink->setNoteData(NoteData::encode(test::sampleContent()));
        QCOMPARE(m_ink->surface()->document()->defaultFont().pointSizeF(), baseSize * zoom / 100.0);
        // A zoom without an item of its own ticks 100%.
        m_ink->setZoom(120);
        for (const int item : items)
            QCOMPARE(m_ink->isChecked(item), item == Cmd::Zoom100);
    }

    void wrapToWindowToggles() {
        QVERIFY(m_ink->isChecked(Cmd::WrapToWindow));
        m_ink->execute(Cmd::WrapToWindow);
        QVERIFY(!m_ink->isChecked(Cmd::WrapToWindow));
        QCOMPARE(m_ink->surface()->lineWrapMode(), QTextEdit::NoWrap);
    }

    void writingModeKeepsTextAndDrawing() {
        type(QStringLiteral("words"));
        QVERIFY(m_ink->execute(Cmd::WritingMode));
        QCOMPARE(m_ink->view(), InkControl::View::Writing);
        QCOMPARE(m_ink->zoom(), 150);
        QVERIFY(m_ink->isChecked(Cmd::WritingMode));
        QVERIFY(!m_ink->isEnabled(Cmd::Bold));

        m_ink->surface()->verticalScrollBar()->setValue(0);
        drawStroke({QPoint(30, 30), QPoint(60, 45), QPoint(90, 60)});
        // Typing does not reach the text while writing.
        type(QStringLiteral("x"));

        QVERIFY(m_ink->execute(Cmd::WritingMode));
        QCOMPARE(m_ink->view(), InkControl::View::Typing);
        QCOMPARE(m_ink->zoom(), 100);
        QVERIFY(m_ink->isModified());
        const NoteContent c = content();
        QCOMPARE(test::describe(c.text), QStringLiteral("words"));
        QCOMPARE(c.strokes.size(), 1);
        // Kept in unzoomed coordinates: drawn at 150 %.
        QCOMPARE(c.strokes[0].points,
                 (QList<QPointF>{QPointF(20, 20), QPointF(40, 30), QPointF(60, 40)}));
        QCOMPARE(c.strokes[0].color, 0xFF000000u);
    }

    void strokesFollowScrollingAndZoom() {
        m_ink->execute(Cmd::WritingMode);
        m_ink->setZoom(200);
        drawStroke({QPoint(10, 250), QPoint(20, 260)});
        QScrollBar* bar = m_ink->surface()->verticalScrollBar();
        // A page of paper below the drawing to scroll to.
        QVERIFY(bar->maximum() >= 260);
        bar->setValue(40);
        drawStroke({QPoint(10, 10), QPoint(30, 10)});
        QCOMPARE(m_ink->surface()->strokes().last().points.first(), QPointF(5, 25));
    }

    void penInputDraws() {
        m_ink->execute(Cmd::WritingMode);
        const QPointingDevice pen(
            QStringLiteral("pen"), 42, QInputDevice::DeviceType::Stylus,
            QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        auto send = [&](QEvent::Type type, QPointF pos) {
            QTabletEvent event(type, &pen, pos, viewport()->mapToGlobal(pos), 0.5, 0, 0, 0, 0, 0,
                               {}, Qt::LeftButton,
                               type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton);
            QApplication::sendEvent(viewport(), &event);
            return event.isAccepted();
        };
        QVERIFY(send(QEvent::TabletPress, QPointF(15, 15)));
        QVERIFY(send(QEvent::TabletMove, QPointF(45, 15)));
        QVERIFY(send(QEvent::TabletRelease, QPointF(45, 15)));
        QCOMPARE(m_ink->surface()->strokes().size(), 1);
        QCOMPARE(m_ink->surface()->strokes().first().points,
                 (QList<QPointF>{QPointF(10, 10), QPointF(30, 10)}));
    }

    void aDrawingAloneIsAChange() {
        m_ink->execute(Cmd::WritingMode);
        drawStroke({QPoint(10, 10), QPoint(20, 20)});
        QVERIFY(m_ink->isModified());
        QCOMPARE(content().strokes.size(), 1);
        m_ink->execute(Cmd::Undo);
        QVERIFY(!m_ink->isModified());
        QVERIFY(m_ink->noteData().isEmpty());
    }

    void strokesAreUndoSteps() {
        m_ink->execute(Cmd::WritingMode);
        drawStroke({QPoint(10, 10), QPoint(20, 20)});
        drawStroke({QPoint(50, 50)});
        QCOMPARE(m_ink->surface()->strokes().size(), 2);
        QVERIFY(m_ink->execute(Cmd::Undo));
        QCOMPARE(m_ink->surface()->strokes().size(), 1);
        QVERIFY(m_ink->execute(Cmd::Undo));
        QVERIFY(m_ink->surface()->strokes().isEmpty());
        QVERIFY(m_ink->execute(Cmd::Redo));
        QCOMPARE(m_ink->surface()->strokes().size(), 1);
    }

    void clearAllEmptiesMarksChangedAndUndoes() {
        m_ink->setNoteData(NoteData::encode(test::sampleContent()));
        QSignalSpy changed(m_ink.get(), &InkControl::contentChanged);
        QVERIFY(m_ink->execute(Cmd::ClearAll));
        QVERIFY(changed.count() > 0);
        QVERIFY(m_ink->isModified());
        QVERIFY(m_ink->noteData().isEmpty());
        QVERIFY(m_ink->execute(Cmd::Undo));
        QCOMPARE(content(), test::sampleContent());
    }

    void selectionCommands() {
        type(QStringLiteral("some text"));
        for (const int id : {Cmd::Cut, Cmd::Copy, Cmd::Delete})
            QVERIFY(!m_ink->isEnabled(id));
        m_ink->execute(Cmd::SelectAll);
        for (const int id : {Cmd::Cut, Cmd::Copy, Cmd::Delete})
            QVERIFY(m_ink->isEnabled(id));
        QVERIFY(m_ink->execute(Cmd::Copy));
        QVERIFY(m_ink->execute(Cmd::Delete));
        QCOMPARE(text(), QString());
        QVERIFY(m_ink->isEnabled(Cmd::Paste));
        QVERIFY(m_ink->execute(Cmd::Paste));
        QCOMPARE(text(), QStringLiteral("some text"));
        // A disabled control (no timer row, say) offers nothing.
        m_ink->setEnabled(false);
        QVERIFY(!m_ink->isEnabled(Cmd::SelectAll));
        QVERIFY(!m_ink->execute(Cmd::ClearAll));
    }

    void pasteKeepsOnlyWhatANoteHolds() {
        auto* mime = new QMimeData;
        mime->setHtml(
            QStringLiteral("<p><b>bold</b> <span style='font-size:40pt;color:red'>big</span></p>"
                           "<img src='missing.png'><ul><li>item</li></ul>"));
        QApplication::clipboard()->setMimeData(mime);
        QVERIFY(m_ink->execute(Cmd::Paste));
        QCOMPARE(text(), QStringLiteral("<b>bold</b> big\n[b0] item"));
        const QTextDocument* document = m_ink->surface()->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                QVERIFY(!it.fragment().charFormat().hasProperty(QTextFormat::FontPointSize));
                QVERIFY(!it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
                QVERIFY(!it.fragment().text().contains(QChar::ObjectReplacementCharacter));
            }
        }
    }

    void listsToggle() {
        type(QStringLiteral("item"));
        QVERIFY(m_ink->execute(Cmd::Bullets));
        QVERIFY(m_ink->isChecked(Cmd::Bullets));
        QCOMPARE(text(), QStringLiteral("[b0] item"));
        QVERIFY(m_ink->execute(Cmd::Numbering));
        QVERIFY(!m_ink->isChecked(Cmd::Bullets));
        QCOMPARE(text(), QStringLiteral("[n0] item"));
        QTest::keyClick(m_ink->surface(), Qt::Key_Return);
        type(QStringLiteral("next"));
        QCOMPARE(text(), QStringLiteral("[n0] item\n[n0] next"));
        QVERIFY(m_ink->execute(Cmd::Numbering));
        QCOMPARE(text(), QStringLiteral("[n0] item\nnext"));
    }

    void exportThenImport() {
        m_ink->setNoteData(NoteData::encode(test::sampleContent()));
        const QString rtf = m_env->filePath(QStringLiteral("note.rtf"));
        m_env->ui().queueFile(rtf);
        m_env->ui().queueFilter(3);
        QVERIFY(m_ink->execute(Cmd::Export));
        QVERIFY(QFile::exists(rtf));
        QVERIFY(!m_ink->isModified());

        m_ink->clear();
        m_env->ui().queueFile(rtf);
        m_env->ui().queueFilter(2);
        QVERIFY(m_ink->execute(Cmd::Import));
        QVERIFY(m_ink->isModified());
        QCOMPARE(content().text, test::sampleContent().text);
        QVERIFY(m_ink->isEnabled(Cmd::Undo));
    }

    void importOfAForeignNoteFileKeepsIt() {
        type(QStringLiteral("replaced"));
        const QByteArray foreign = QByteArray::fromHex("deadbeef00112233");
        const QString path = m_env->filePath(QStringLiteral("old.pwi"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(foreign);
        file.close();
        m_env->ui().queueFile(path);
        QVERIFY(m_ink->execute(Cmd::Import));
        QVERIFY(m_ink->isForeign());
        QVERIFY(m_ink->isModified());
        QCOMPARE(m_ink->noteData(), foreign);
    }

    void editInWordProcessor() {
        m_ink->setNoteData(NoteData::encode(test::sampleContent()));
        QString opened;
        m_env->ui().setDocumentOpener([&opened](const QUrl& url) {
            opened = url.toLocalFile();
            QFile file(opened);
            if (!file.open(QIODevice::ReadWrite) || !file.readAll().contains("renewal"))
                return false;
            file.resize(0);
            file.write("{\\rtf1\\ansi edited \\b text\\b0\\par second}");
            return true;
        });
        m_env->ui().queueAnswer(platform::Answer::Ok);
        QVERIFY(m_ink->execute(Cmd::EditInWord));
        QVERIFY(opened.endsWith(QStringLiteral(".rtf")));
        QVERIFY(QFileInfo(opened).fileName().startsWith(QStringLiteral("trn")));
        QVERIFY(!QFile::exists(opened));
        QCOMPARE(m_env->ui().shownTexts(),
                 QStringList{QStringLiteral("When finished editing and saving the note in Pocket "
                                            "Word, tap OK to update Tempolatch.")});
        QCOMPARE(m_env->ui().shown().first().buttons, platform::Ui::Buttons::OkCancel);
        QVERIFY(m_ink->isModified());
        QCOMPARE(text(), QStringLiteral("edited <b>text</b>\nsecond"));
        // The word processor sees text only; the drawing stays.
        QCOMPARE(content().strokes, test::sampleContent().strokes);
    }

    void editInWordProcessorCancelled() {
        m_ink->setNoteData(NoteData::encode(test::sampleContent()));
        QString opened;
        m_env->ui().setDocumentOpener([&opened](const QUrl& url) {
            opened = url.toLocalFile();
            return true;
        });
        m_env->ui().queueAnswer(platform::Answer::Cancel);
        QVERIFY(m_ink->execute(Cmd::EditInWord));
        QVERIFY(!QFile::exists(opened));
        QVERIFY(m_ink->isModified());
        QCOMPARE(content(), test::sampleContent());
    }

    void editInWordProcessorThatCannotStart() {
        type(QStringLiteral("kept"));
        m_ink->setModified(false);
        QString opened;
        m_env->ui().setDocumentOpener([&opened](const QUrl& url) {
            opened = url.toLocalFile();
            return false;
        });
        QVERIFY(m_ink->execute(Cmd::EditInWord));
        QVERIFY(!opened.isEmpty());
        QVERIFY(!QFile::exists(opened));
        QVERIFY(m_env->ui().shown().isEmpty());
        QVERIFY(!m_ink->isModified());
    }

    void menusFollowTheControl() {
        QMenu view;
        QMenu edit;
        NoteMenus::fillViewMenu(&view, m_ink.get());
        NoteMenus::fillEditMenu(&edit, m_ink.get());
        m_ink->execute(Cmd::Zoom75);
        Q_EMIT view.aboutToShow();
        QStringList ticked;
        for (QAction* action : view.actions()) {
            if (action->isChecked())
                ticked.append(action->text());
            if (action->data().toInt() == Cmd::RecordingToolbar)
                QVERIFY(action->isEnabled() && !action->isChecked());
        }
        QCOMPARE(ticked, (QStringList{QStringLiteral("75%"), QStringLiteral("Wrap To Window")}));

        QAction* writing = nullptr;
        for (QAction* action : edit.actions()) {
            if (action->data().toInt() == Cmd::WritingMode)
                writing = action;
        }
        QVERIFY(writing);
        writing->trigger();
        QCOMPARE(m_ink->view(), InkControl::View::Writing);
        Q_EMIT edit.aboutToShow();
        QVERIFY(writing->isChecked());
    }
};

TEMPOLATCH_TEST(InkControlTest);
#include "InkControlTest.moc"
